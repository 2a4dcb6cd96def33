#include "SysfsSerialPorts.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "FolderNames.h"

namespace {

constexpr const char* kPrefixes[] = {"ttyACM", "ttyUSB"};
// A USB serial tty sits a few levels below its USB device (interface folder,
// port folder, tty folder); a deeper walk means the tree is not what we expect.
constexpr int kMaxWalkUp = 8;

struct PortName {
    std::string name;
    int prefix = 0; // index into kPrefixes
    long number = 0;
};

bool ParsePortName(const std::string& name, PortName& port)
{
    for (int i = 0; i < 2; ++i) {
        const std::string prefix = kPrefixes[i];
        if (name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const char* digits = name.c_str() + prefix.size();
        if (*digits == '\0') {
            return false;
        }
        char* end = nullptr;
        const long number = std::strtol(digits, &end, 10);
        if (*end != '\0' || number < 0) {
            return false;
        }
        port = {name, i, number};
        return true;
    }
    return false;
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string Parent(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The USB product string as the vendor driver reports it. sysfs prints it
// followed by one newline, which is dropped; every other byte is kept, so a
// string with anything more than "TAMRIX TESTER" (a CR, a second line) never
// matches it.
bool ReadProductString(const std::string& path, std::string& product)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    product.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!product.empty() && product.back() == '\n') {
        product.pop_back();
    }
    return true;
}

} // namespace

bool ReadUsbProduct(const std::string& deviceLink, std::string& product)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(deviceLink.c_str(), nullptr), &std::free);
    if (!resolved) {
        return false;
    }
    std::string folder = resolved.get();
    for (int level = 0; level < kMaxWalkUp && folder != "/"; ++level, folder = Parent(folder)) {
        if (FileExists(folder + "/idVendor")) {
            return ReadProductString(folder + "/product", product);
        }
    }
    return false;
}

std::vector<DeviceListEntry> ListUsbSerialPorts(const std::string& sysfsRoot, const std::string& devRoot)
{
    const std::string classFolder = sysfsRoot + "/class/tty";
    std::vector<PortName> ports;
    for (const std::string& name : FolderNames(classFolder)) {
        PortName port;
        if (ParsePortName(name, port)) {
            ports.push_back(port);
        }
    }
    std::sort(ports.begin(), ports.end(), [](const PortName& a, const PortName& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix : a.number < b.number;
    });

    std::vector<DeviceListEntry> list;
    list.reserve(ports.size());
    for (const PortName& port : ports) {
        std::string product;
        if (!ReadUsbProduct(classFolder + "/" + port.name + "/device", product)) {
            product.clear();
        }
        list.push_back({devRoot + "/" + port.name, product});
    }
    return list;
}
