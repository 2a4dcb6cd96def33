#pragma once

#include <map>
#include <mutex>
#include <string>

// The users of the simulator, kept as "name:hash" lines in the file `users`
// of the state folder; the hash is libcrypt's salted hash (its strongest
// method), never the password.
class CUserStore {
  public:
    explicit CUserStore(std::string path);

    // False when the file exists but cannot be read or holds a bad line.
    bool Load(std::string& error);
    // Adds or replaces a user and writes the file.
    bool Set(const std::string& name, const std::string& password, std::string& error);
    // Costs one hash also for an unknown name, so timing does not tell names.
    bool Check(const std::string& name, const std::string& password) const;

    static bool IsValidName(const std::string& name);

  private:
    std::string m_path;
    mutable std::mutex m_mutex;
    std::map<std::string, std::string> m_hashes;
};
