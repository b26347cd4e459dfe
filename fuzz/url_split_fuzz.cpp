// URL split, host and port, and the request text with arbitrary URLs: every result stays
// within its buffer and is what a plain string model of the rule gives; a port is accepted
// only when it is 1 to 65535 written in digits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/http_rules.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void ModelSplit(const std::string& url, std::string& host, std::string& path) {
    host.clear();
    path.clear();
    for (std::size_t i = 0; i < url.size();) {
        if (url[i] == '/' && i + 1 < url.size() && url[i + 1] == '/') {
            host.clear();
            i += 2;
        } else if (url[i] == '/') {
            path = url.substr(i, kMaxUrlPartLength);
            return;
        } else {
            if (host.size() < kMaxUrlPartLength) host += url[i];
            ++i;
        }
    }
}

bool ModelPort(const std::string& hostPart, std::string& name, long& port) {
    const std::size_t colon = hostPart.find(':');
    name = hostPart.substr(0, colon);
    if (name.empty()) return false;
    if (colon == std::string::npos) {
        port = 80;
        return true;
    }
    const std::string digits = hostPart.substr(colon + 1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos || digits.size() - first > 5) return false;
    port = std::strtol(digits.c_str() + first, nullptr, 10);
    return port >= 1 && port <= 65535;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string url(reinterpret_cast<const char*>(data), size);
    url = url.substr(0, url.find('\0'));

    char host[kUrlPartSize];
    char path[kUrlPartSize];
    SplitUrl(url.c_str(), host, path);
    std::string modelHost;
    std::string modelPath;
    ModelSplit(url, modelHost, modelPath);
    Check(host == modelHost);
    Check(path == modelPath);

    char name[kUrlPartSize];
    std::uint16_t port = 0;
    std::string modelName;
    long modelPort = 0;
    const bool ok = SplitHostPort(host, name, port);
    Check(ok == ModelPort(modelHost, modelName, modelPort));
    if (ok) Check(name == modelName && port == modelPort);

    char request[kRequestSize];
    const std::size_t length = FormatGetRequest(path, host, request);
    const std::string modelRequest =
        "GET " + modelPath + " HTTP/1.0\r\nHost: " + modelHost + "\r\n\r\n";
    Check(length == modelRequest.size() && request == modelRequest);
    return 0;
}
