// `funcplug version`: the plug-in's version resource as a host reads it, through
// GetFileVersionInfo and VerQueryValue. Strings are printed as UTF-8.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace host {

namespace {
const char* const kStringNames[] = {"Comments",       "CompanyName",     "FileDescription",
                                    "FileVersion",    "InternalName",    "LegalCopyright",
                                    "LegalTrademarks", "OriginalFilename", "ProductName",
                                    "ProductVersion"};

std::string Utf8(const wchar_t* text, UINT length) {
    while (length > 0 && text[length - 1] == L'\0') --length;
    if (length == 0) return "";
    int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string BesideExecutable(const char* file) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string dir(path, n);
    dir.erase(dir.find_last_of("\\/") + 1);
    return dir + file;
}
}  // namespace

bool VersionText(const std::string& plugin_path, std::string& text, std::string& error) {
    std::string path =
        plugin_path.empty() ? BesideExecutable(sizeof(void*) == 8 ? "funcplug64.dll" : "funcplug.dll") : plugin_path;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, data.data())) {
        error = "no version resource in " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    char line[128];
    text.clear();
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed != nullptr) {
        std::snprintf(line, sizeof(line), "FileVersion (fixed)\t%u.%u.%u.%u\nProductVersion (fixed)\t%u.%u.%u.%u\n",
                      unsigned(HIWORD(fixed->dwFileVersionMS)), unsigned(LOWORD(fixed->dwFileVersionMS)),
                      unsigned(HIWORD(fixed->dwFileVersionLS)), unsigned(LOWORD(fixed->dwFileVersionLS)),
                      unsigned(HIWORD(fixed->dwProductVersionMS)), unsigned(LOWORD(fixed->dwProductVersionMS)),
                      unsigned(HIWORD(fixed->dwProductVersionLS)), unsigned(LOWORD(fixed->dwProductVersionLS)));
        text += line;
    }
    WORD* translation = nullptr;
    char table[16] = "041904E3";
    if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
        length >= 4) {
        std::snprintf(table, sizeof(table), "%04X%04X", translation[0], translation[1]);
    }
    text += std::string("Translation\t") + table + "\n";
    for (const char* name : kStringNames) {
        std::wstring key = Wide(std::string("\\StringFileInfo\\") + table + "\\" + name);
        wchar_t* value = nullptr;
        length = 0;
        bool found = VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length);
        text += std::string(name) + "\t" + (found && value != nullptr ? Utf8(value, length) : "(missing)") + "\n";
    }
    return true;
}

}  // namespace host
