#include "platform/paths.h"

#include "platform/ascii_case.h"
#include "platform/loaders/regular_file.h"

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

bool entryExists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

std::string joinPath(const std::string& folder, const std::string& component) {
    if (folder.empty()) return component;
    if (folder.back() == '/') return folder + component;
    return folder + "/" + component;
}

// The entry of the folder whose name equals component ignoring letter case.
// When several do, the smallest name wins so the choice never depends on the
// order the file system lists them in.
std::string findIgnoringCase(const std::string& folder, const std::string& component) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    std::string best;
    if (error) return best;
    for (const auto& entry : entries) {
        std::string name = entry.path().filename().string();
        if (equalsIgnoringAsciiCase(name, component) && (best.empty() || name < best))
            best = std::move(name);
    }
    return best;
}

std::string normaliseSeparators(const std::string& name) {
    std::string result;
    result.reserve(name.size());
    for (char c : name) {
        if (c == '\\') c = '/';
        if (c == '/' && !result.empty() && result.back() == '/') continue;
        result.push_back(c);
    }
    return result;
}

} // namespace

std::string resolvePath(const std::string& name) {
    std::string normal = normaliseSeparators(name);
    if (normal.empty() || entryExists(normal)) return normal;

    std::vector<std::string> components;
    size_t start = 0;
    while (start <= normal.size()) {
        size_t slash = normal.find('/', start);
        if (slash == std::string::npos) slash = normal.size();
        if (slash > start) components.push_back(normal.substr(start, slash - start));
        start = slash + 1;
    }

    std::string resolved = normal.front() == '/' ? "/" : "";
    size_t i = 0;
    for (; i < components.size(); ++i) {
        const std::string& component = components[i];
        std::string exact = joinPath(resolved, component);
        if (component == "." || component == ".." || entryExists(exact)) {
            resolved = exact;
            continue;
        }
        std::string match = findIgnoringCase(resolved, component);
        if (match.empty()) break;
        resolved = joinPath(resolved, match);
    }
    // What cannot be found (a file about to be created, say) keeps its spelling.
    for (; i < components.size(); ++i)
        resolved = joinPath(resolved, components[i]);
    if (normal.back() == '/' && (resolved.empty() || resolved.back() != '/')) resolved += '/';
    return resolved;
}

FILE* openFile(const std::string& name, const char* mode) {
    return std::fopen(resolvePath(name).c_str(), mode);
}

std::optional<std::string> readWholeFile(const std::string& name) {
    // A data file's name can point anywhere: a FIFO or a device would have the
    // reader wait for ever.
    return readRegularFile(resolvePath(name), SIZE_MAX);
}

std::optional<std::string> readTextModeFile(const std::string& name) {
    std::optional<std::string> raw = readWholeFile(name);
    if (!raw) return std::nullopt;
    std::string text;
    text.reserve(raw->size());
    for (size_t i = 0; i < raw->size(); ++i) {
        if ((*raw)[i] == '\r' && i + 1 < raw->size() && (*raw)[i + 1] == '\n') continue;
        text.push_back((*raw)[i]);
    }
    return text;
}

bool regularFileWithin(const std::string& path, const std::string& folder) {
    std::error_code error;
    const std::filesystem::path file = std::filesystem::canonical(path, error);
    if (error || !std::filesystem::is_regular_file(file, error)) return false;
    const std::filesystem::path root = std::filesystem::canonical(resolvePath(folder), error);
    if (error) return false;
    const std::string inside = root.string() + (root.string().back() == '/' ? "" : "/");
    return file.string().compare(0, inside.size(), inside) == 0;
}
