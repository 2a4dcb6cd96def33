#include "UserStore.h"

#include <crypt.h>
#include <openssl/crypto.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "StateFolder.h"

namespace {

constexpr size_t kMaxName = 64;

std::string Hash(const std::string& password, const std::string& setting)
{
    auto data = std::make_unique<crypt_data>();
    const char* hash = crypt_r(password.c_str(), setting.c_str(), data.get());
    // libcrypt marks a failure with a text that starts with '*'.
    std::string result = (hash == nullptr || hash[0] == '*') ? std::string() : std::string(hash);
    OPENSSL_cleanse(data.get(), sizeof(crypt_data));
    return result;
}

} // namespace

CUserStore::CUserStore(std::string path) : m_path(std::move(path)) {}

bool CUserStore::IsValidName(const std::string& name)
{
    if (name.empty() || name.size() > kMaxName) {
        return false;
    }
    for (char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!plain && c != '.' && c != '_' && c != '-' && c != '@') {
            return false;
        }
    }
    return true;
}

bool CUserStore::Load(std::string& error)
{
    std::ifstream in(m_path);
    if (!in) {
        return true; // no users yet
    }
    std::lock_guard lock(m_mutex);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos || !IsValidName(line.substr(0, colon)) || colon + 1 >= line.size()) {
            error = m_path + ":" + std::to_string(number) + ": not a name:hash line";
            return false;
        }
        m_hashes[line.substr(0, colon)] = line.substr(colon + 1);
    }
    return true;
}

bool CUserStore::Set(const std::string& name, const std::string& password, std::string& error)
{
    char setting[CRYPT_GENSALT_OUTPUT_SIZE];
    if (!IsValidName(name)) {
        error = "a user name is 1 to 64 letters, digits or . _ - @";
        return false;
    }
    if (crypt_gensalt_rn(nullptr, 0, nullptr, 0, setting, sizeof setting) == nullptr) {
        error = "no salt from libcrypt";
        return false;
    }
    const std::string hash = Hash(password, setting);
    if (hash.empty()) {
        error = "libcrypt could not hash the password";
        return false;
    }
    std::lock_guard lock(m_mutex);
    m_hashes[name] = hash;
    std::ostringstream text;
    for (const auto& [user, userHash] : m_hashes) {
        text << user << ':' << userHash << '\n';
    }
    if (!WritePrivateFile(m_path, text.str())) {
        error = "cannot write " + m_path;
        return false;
    }
    return true;
}

bool CUserStore::Check(const std::string& name, const std::string& password) const
{
    // A hash of the same method, so an unknown name costs as much as a known one.
    static const std::string kDecoy = [] {
        char setting[CRYPT_GENSALT_OUTPUT_SIZE];
        return crypt_gensalt_rn(nullptr, 0, nullptr, 0, setting, sizeof setting) ? Hash("decoy", setting)
                                                                                 : "";
    }();
    std::string stored;
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_hashes.find(name);
        stored = found == m_hashes.end() ? std::string() : found->second;
    }
    const std::string hash = Hash(password, stored.empty() ? kDecoy : stored);
    return !stored.empty() && !hash.empty() && hash.size() == stored.size() &&
           CRYPTO_memcmp(hash.data(), stored.data(), hash.size()) == 0;
}
