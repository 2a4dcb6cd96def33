#include "Certificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>

#include <memory>

#include "StateFolder.h"

namespace {

constexpr long kValidSeconds = 10L * 365 * 24 * 3600;

struct openssl_free_t {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    void operator()(X509* certificate) const { X509_free(certificate); }
    void operator()(BIO* bio) const { BIO_free(bio); }
    void operator()(X509_EXTENSION* extension) const { X509_EXTENSION_free(extension); }
};
template <typename T> using owned_t = std::unique_ptr<T, openssl_free_t>;

bool AddExtension(X509* certificate, int nid, const char* value)
{
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    owned_t<X509_EXTENSION> extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value));
    return extension && X509_add_ext(certificate, extension.get(), -1) == 1;
}

bool SetSerial(X509* certificate)
{
    unsigned char bytes[16];
    if (RAND_bytes(bytes, sizeof bytes) != 1) {
        return false;
    }
    bytes[0] &= 0x7F; // a positive number
    BIGNUM* number = BN_bin2bn(bytes, sizeof bytes, nullptr);
    const bool ok =
        number != nullptr && BN_to_ASN1_INTEGER(number, X509_get_serialNumber(certificate)) != nullptr;
    BN_free(number);
    return ok;
}

owned_t<X509> MakeCertificate(EVP_PKEY* key)
{
    owned_t<X509> certificate(X509_new());
    X509_NAME* name = certificate ? X509_get_subject_name(certificate.get()) : nullptr;
    const bool ok =
        name != nullptr && X509_set_version(certificate.get(), 2) == 1 && SetSerial(certificate.get()) &&
        X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600) != nullptr &&
        X509_gmtime_adj(X509_getm_notAfter(certificate.get()), kValidSeconds) != nullptr &&
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0) == 1 &&
        X509_set_issuer_name(certificate.get(), name) == 1 && X509_set_pubkey(certificate.get(), key) == 1 &&
        AddExtension(certificate.get(), NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1,IP:::1") &&
        AddExtension(certificate.get(), NID_basic_constraints, "critical,CA:FALSE") &&
        AddExtension(certificate.get(), NID_ext_key_usage, "serverAuth") &&
        X509_sign(certificate.get(), key, EVP_sha256()) > 0;
    return ok ? std::move(certificate) : nullptr;
}

template <typename Write> bool WritePem(const std::string& path, Write write)
{
    owned_t<BIO> bio(BIO_new(BIO_s_mem()));
    if (!bio || !write(bio.get())) {
        return false;
    }
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return size > 0 && WritePrivateFile(path, std::string(data, static_cast<size_t>(size)));
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace

certificatefiles_t EnsureCertificate(const std::string& folder, std::string& error)
{
    certificatefiles_t files{folder + "/certificate.pem", folder + "/key.pem"};
    if (Exists(files.certificate) && Exists(files.key)) {
        return files;
    }
    owned_t<EVP_PKEY> key(EVP_EC_gen("P-256"));
    owned_t<X509> certificate = key ? MakeCertificate(key.get()) : nullptr;
    // The key first: a certificate without its key would be kept as it is.
    const bool ok = certificate &&
                    WritePem(files.key,
                             [&](BIO* bio) {
                                 return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr,
                                                                 nullptr) == 1;
                             }) &&
                    WritePem(files.certificate,
                             [&](BIO* bio) { return PEM_write_bio_X509(bio, certificate.get()) == 1; });
    if (!ok) {
        error = "cannot make a certificate in " + folder;
        return {};
    }
    return files;
}
