// URL split, host and port, and the request text with arbitrary URLs: each result is what a
// plain string model gives, and a port is accepted only as 1 to 65535 written in digits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/http_rules.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void ModelSplit(const std::string& url, std::string& host, std::string& path) {
    for (std::size_t i = 0; i < url.size(); ++i) {
        if (url.compare(i, 2, "//") == 0) {
            host.clear();
            ++i;
        } else if (url[i] == '/') {
            path = url.substr(i, kMaxUrlPartLength);
            return;
        } else if (host.size() < kMaxUrlPartLength) {
            host += url[i];
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string url(reinterpret_cast<const char*>(data), size);
    url = url.substr(0, url.find('\0'));
    char host[kUrlPartSize], path[kUrlPartSize], name[kUrlPartSize];
    SplitUrl(url.c_str(), host, path);
    std::string modelHost, modelPath;
    ModelSplit(url, modelHost, modelPath);
    Check(host == modelHost && path == modelPath);

    std::uint16_t port = 0;
    const std::size_t colon = modelHost.find(':');
    const std::string digits = colon == std::string::npos ? "80" : modelHost.substr(colon + 1);
    const bool digitsOnly =
        !digits.empty() && digits.find_first_not_of("0123456789") == digits.npos;
    const std::size_t first = digits.find_first_not_of('0');
    const long modelPort = digitsOnly && first != digits.npos && digits.size() - first <= 5
                               ? std::strtol(digits.c_str() + first, nullptr, 10)
                               : 0;
    const bool modelOk = colon != 0 && !modelHost.empty() && modelPort >= 1 && modelPort <= 65535;
    Check(SplitHostPort(host, name, port) == modelOk);
    if (modelOk) Check(name == modelHost.substr(0, colon) && port == modelPort);

    char request[kRequestSize];
    const std::string modelRequest =
        "GET " + modelPath + " HTTP/1.0\r\nHost: " + modelHost + "\r\n\r\n";
    Check(FormatGetRequest(path, host, request) == modelRequest.size() && request == modelRequest);
    return 0;
}
