// funcplug: the command-line host. Loads the plug-in by path as any host does and drives it through
// its exported names: SetFile, one export, GetFile.
//
//   funcplug [--plugin PATH] [--cw HEX] call EXPORT [TEXT]
//   funcplug [--plugin PATH] [--cw HEX] batch          lines EXPORT<TAB>TEXT on stdin
//   funcplug list [--names | --markdown]
//   funcplug [--plugin PATH] info
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "funcplug/host_abi.h"
#include "host/loader.h"
#include "host/status.h"
#include "pfunc/catalogue_table.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace host {
// Windows only: the DLL's version resource as a host reads it, one "NAME<TAB>VALUE" line an item.
bool VersionText(const std::string& plugin_path, std::string& text, std::string& error);
}

namespace {

// The control word a host's thread usually runs with: invalid operation, division by zero and
// overflow unmasked, 64-bit precision, rounding to nearest.
constexpr uint16_t kDefaultControlWord = 0x1372;

constexpr int kExitException = 2;
constexpr int kExitFault = 3;
constexpr int kExitUsage = 64;
constexpr int kExitLoad = 69;

struct Options {
    std::string plugin;
    uint16_t control_word = kDefaultControlWord;
};

// ---- escaping -----------------------------------------------------------------------------------

std::string Escape(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default:
                if (c >= 0x20 && c < 0x7F) {
                    out += static_cast<char>(c);
                } else {
                    char hex[5];
                    std::snprintf(hex, sizeof(hex), "\\x%02X", c);
                    out += hex;
                }
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The inverse of Escape; an unknown or incomplete escape stands for itself.
std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        char e = text[++i];
        if (e == '\\') out += '\\';
        else if (e == 't') out += '\t';
        else if (e == 'r') out += '\r';
        else if (e == 'n') out += '\n';
        else if (e == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += '\\';
            out += e;
        }
    }
    return out;
}

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%0*X", digits, value);
    return text;
}

// ---- catalogue ----------------------------------------------------------------------------------

const pfunc::CatalogueEntry* FindEntry(const std::string& name) {
    for (std::size_t i = 0; i < pfunc::kCatalogueSize; ++i)
        if (name == pfunc::kCatalogue[i].name) return &pfunc::kCatalogue[i];
    return nullptr;
}

std::size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string ClosestExports(const std::string& name) {
    std::vector<std::pair<std::size_t, const char*>> ranked;
    for (std::size_t i = 0; i < pfunc::kCatalogueSize; ++i)
        ranked.push_back({Distance(name, pfunc::kCatalogue[i].name), pfunc::kCatalogue[i].name});
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string out;
    for (std::size_t i = 0; i < ranked.size() && i < 3; ++i) out += (i ? ", " : "") + std::string(ranked[i].second);
    return out;
}

// ---- calling ------------------------------------------------------------------------------------

struct Plugin {
    funcplug::TextSetter set_file = nullptr;
    funcplug::TextGetter get_file = nullptr;
};

bool Bind(Plugin& plugin, std::string& error) {
    plugin.set_file = reinterpret_cast<funcplug::TextSetter>(host::FindExport("SetFile"));
    plugin.get_file = reinterpret_cast<funcplug::TextGetter>(host::FindExport("GetFile"));
    if (plugin.set_file == nullptr || plugin.get_file == nullptr) {
        error = "the plug-in does not export SetFile and GetFile";
        return false;
    }
    return true;
}

bool Load(const Options& options, Plugin& plugin) {
    std::string error;
    if (!host::LoadPlugin(options.plugin, error) || !Bind(plugin, error)) {
        std::fprintf(stderr, "funcplug: %s\n", error.c_str());
        return false;
    }
    return true;
}

struct Call {
    enum { kOk, kException, kFault, kError } status;
    std::string result;  // ok: the result text; error: why
    host::CallResult raised;
    std::string file_text;  // after a failure
};

// SetFile, the export, GetFile; checks that the export left the control word as it found it.
Call CallExport(const Plugin& plugin, const std::string& name, const std::string& text, uint16_t control_word) {
    Call call{};
    if (FindEntry(name) == nullptr) {
        call.status = Call::kError;
        call.result = "unknown export " + name + " (closest: " + ClosestExports(name) + ")";
        return call;
    }
    auto function = reinterpret_cast<funcplug::FunctionExport>(host::FindExport(name.c_str()));
    if (function == nullptr) {
        call.status = Call::kError;
        call.result = "the plug-in does not export " + name;
        return call;
    }
    // SetFile can raise too (a copy that cannot be made): guard it like the export.
    static funcplug::TextSetter set_file;
    static const char* argument;
    set_file = plugin.set_file;
    argument = text.c_str();
    call.raised = host::GuardedCall([] { set_file(argument); }, control_word);
    if (call.raised.outcome == host::Outcome::kReturned) call.raised = host::GuardedCall(function, control_word);
    const char* file = plugin.get_file();
    if (call.raised.outcome != host::Outcome::kFault && call.raised.control_word != control_word) {
        call.status = Call::kError;
        call.result = "control word changed from " + Hex(control_word, 4) + " to " + Hex(call.raised.control_word, 4);
        return call;
    }
    if (call.raised.outcome == host::Outcome::kFault && call.raised.control_word != control_word &&
        call.raised.control_word != 0) {
        call.status = Call::kError;
        call.result = "fault " + Hex(call.raised.fault_code, 8) + " under control word " +
                      Hex(call.raised.control_word, 4) + " instead of " + Hex(control_word, 4);
        return call;
    }
    switch (call.raised.outcome) {
        case host::Outcome::kReturned: call.status = Call::kOk; call.result = file; break;
        case host::Outcome::kModuleException: call.status = Call::kException; call.file_text = file; break;
        case host::Outcome::kFault: call.status = Call::kFault; call.file_text = file; break;
    }
    return call;
}

// ---- commands -----------------------------------------------------------------------------------

int CommandCall(const Options& options, const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) {
        std::fprintf(stderr, "usage: funcplug call EXPORT [TEXT]\n");
        return kExitUsage;
    }
    if (FindEntry(args[0]) == nullptr) {
        std::fprintf(stderr, "funcplug: unknown export %s; closest: %s\n", args[0].c_str(),
                     ClosestExports(args[0]).c_str());
        return kExitUsage;
    }
    Plugin plugin;
    if (!Load(options, plugin)) return kExitLoad;
    Call call = CallExport(plugin, args[0], args.size() > 1 ? args[1] : "", options.control_word);
    switch (call.status) {
        case Call::kOk: std::printf("%s\n", call.result.c_str()); return 0;
        case Call::kException:
            std::fprintf(stderr, "exception kind=%u: %s\n", call.raised.kind, call.raised.message.c_str());
            return kExitException;
        case Call::kFault:
            std::fprintf(stderr, "fault %s: %s\n", Hex(call.raised.fault_code, 8).c_str(),
                         host::StatusText(call.raised.fault_code));
            return kExitFault;
        case Call::kError: std::fprintf(stderr, "funcplug: %s\n", call.result.c_str()); return 1;
    }
    return 1;
}

bool ParseHex(const std::string& text, uint16_t& value) {
    char* end = nullptr;
    unsigned long v = std::strtoul(text.c_str(), &end, 16);
    if (text.empty() || *end != '\0' || v > 0xFFFF) return false;
    value = static_cast<uint16_t>(v);
    return true;
}

// Besides EXPORT<TAB>TEXT lines, the batch takes two directives:
//   @cw<TAB>HEX   the control word for the calls that follow (answered "ok<TAB>0xHHHH")
//   @reload       unload and load the plug-in again, back to its state at load ("ok<TAB>reloaded")
//   @info         the plug-in's information texts as `info` prints them, escaped
//   @version      the version resource as `version` prints it, escaped (Windows)
// The last two let an emulated run, where every process start is slow, check them in the batch.
bool InfoText(std::string& text, std::string& error);

int CommandBatch(Options options) {
    Plugin plugin;
    if (!Load(options, plugin)) return kExitLoad;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t tab = line.find('\t');
        std::string name = line.substr(0, tab);
        std::string text = tab == std::string::npos ? "" : Unescape(line.substr(tab + 1));
        std::string out;
        if (name == "@cw") {
            if (ParseHex(text, options.control_word)) out = "ok\t" + Hex(options.control_word, 4);
            else out = "error\tbad control word " + Escape(text);
        } else if (name == "@reload") {
            std::string error;
            if (host::ReloadPlugin(error) && Bind(plugin, error)) out = "ok\treloaded";
            else out = "error\t" + Escape(error);
        } else if (name == "@info" || name == "@version") {
            std::string result, error;
#if defined(_WIN32)
            bool ok = name == "@info" ? InfoText(result, error) : host::VersionText(options.plugin, result, error);
#else
            bool ok = name == "@info" ? InfoText(result, error) : (error = "no version resource on this platform", false);
#endif
            out = ok ? "ok\t" + Escape(result) : "error\t" + Escape(error);
        } else {
            Call call = CallExport(plugin, name, text, options.control_word);
            switch (call.status) {
                case Call::kOk: out = "ok\t" + Escape(call.result); break;
                case Call::kException:
                    out = "exception\t" + std::to_string(call.raised.kind) + "\t" + Escape(call.raised.message) +
                          "\t" + Escape(call.file_text);
                    break;
                case Call::kFault: out = "fault\t" + Hex(call.raised.fault_code, 8) + "\t" + Escape(call.file_text); break;
                case Call::kError: out = "error\t" + Escape(call.result); break;
            }
        }
        std::printf("%s\n", out.c_str());
        std::fflush(stdout);
    }
    return 0;
}

int CommandList(const std::vector<std::string>& args) {
    std::string format = args.empty() ? "" : args[0];
    if (format == "--names") {
        for (std::size_t i = 0; i < pfunc::kEntryPointCount; ++i) std::printf("%s\n", pfunc::kEntryPoints[i]);
        for (std::size_t i = 0; i < pfunc::kCatalogueSize; ++i) std::printf("%s\n", pfunc::kCatalogue[i].name);
    } else if (format == "--markdown") {
        std::printf("| export | argument text | arguments | result | computes |\n|---|---|---|---|---|\n");
        for (std::size_t i = 0; i < pfunc::kCatalogueSize; ++i) {
            const pfunc::CatalogueEntry& e = pfunc::kCatalogue[i];
            std::string fields = e.fields;
            std::string escaped;
            for (char c : fields) escaped += c == '|' ? std::string("\\|") : std::string(1, c);
            std::printf("| `%s` | %s | %s | %s | %s |\n", e.name, escaped.empty() ? "" : ("`" + escaped + "`").c_str(),
                        e.arguments, e.result, e.description);
        }
    } else if (format.empty()) {
        for (std::size_t i = 0; i < pfunc::kCatalogueSize; ++i) {
            const pfunc::CatalogueEntry& e = pfunc::kCatalogue[i];
            std::printf("%-26s %-34s %-12s %s\n", e.name, e.arguments, e.result, e.description);
        }
    } else {
        std::fprintf(stderr, "usage: funcplug list [--names | --markdown]\n");
        return kExitUsage;
    }
    return 0;
}

// Windows-1251 to UTF-8, for the terminal.
std::string FromWindows1251(const char* text) {
    static const char16_t kHigh[64] = {
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
        0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
        0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
        0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
        0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        char32_t c = *p < 0x80 ? *p : *p >= 0xC0 ? 0x0410 + (*p - 0xC0) : kHigh[*p - 0x80];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool InfoText(std::string& text, std::string& error) {
    auto short_info = reinterpret_cast<funcplug::TextGetter>(host::FindExport("GetShortInfo"));
    auto info = reinterpret_cast<funcplug::TextGetter>(host::FindExport("GetInfo"));
    if (short_info == nullptr || info == nullptr) {
        error = "the plug-in does not export GetShortInfo and GetInfo";
        return false;
    }
    std::string lines = FromWindows1251(info());
    lines.erase(std::remove(lines.begin(), lines.end(), '\r'), lines.end());
    text = FromWindows1251(short_info()) + "\n\n" + lines + "\n";
    return true;
}

int CommandInfo(const Options& options) {
    Plugin plugin;
    if (!Load(options, plugin)) return kExitLoad;
    std::string text, error;
    if (!InfoText(text, error)) {
        std::fprintf(stderr, "funcplug: %s\n", error.c_str());
        return kExitLoad;
    }
    std::fputs(text.c_str(), stdout);
    return 0;
}

#if defined(_WIN32)
int CommandVersion(const Options& options) {
    std::string text, error;
    if (!host::VersionText(options.plugin, text, error)) {
        std::fprintf(stderr, "funcplug: %s\n", error.c_str());
        return kExitLoad;
    }
    std::fputs(text.c_str(), stdout);
    return 0;
}
#endif

int Usage() {
    std::fprintf(stderr,
                 "usage: funcplug [--plugin PATH] [--cw HEX] COMMAND\n"
                 "  call EXPORT [TEXT]   SetFile(TEXT), the export, then print GetFile\n"
                 "  batch                lines EXPORT<TAB>TEXT on stdin, one result line each\n"
                 "  list [--names|--markdown]  the catalogue of exports\n"
                 "  info                 the plug-in's information texts\n"
                 "  version              the DLL's version resource (Windows)\n");
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // Byte for byte the native host's output: no CR LF translation, no end of file at 0x1A.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    Options options;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::size_t i = 0;
    for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
        if (args[i] == "--plugin" && i + 1 < args.size()) {
            options.plugin = args[++i];
        } else if (args[i] == "--cw" && i + 1 < args.size() && ParseHex(args[i + 1], options.control_word)) {
            ++i;
        } else {
            return Usage();
        }
    }
    if (i == args.size()) return Usage();
    std::string command = args[i];
    std::vector<std::string> rest(args.begin() + static_cast<long>(i) + 1, args.end());
    if (command == "call") return CommandCall(options, rest);
    if (command == "batch") return CommandBatch(options);
    if (command == "list") return CommandList(rest);
    if (command == "info") return CommandInfo(options);
#if defined(_WIN32)
    if (command == "version") return CommandVersion(options);
#endif
    return Usage();
}
