// The host's loader on POSIX: dlopen/dlsym, and SIGFPE/SIGSEGV turned into Windows status codes
// so that the host speaks the same protocol as on Windows.
#include <dlfcn.h>
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include <climits>
#include <csetjmp>
#include <cstring>

#include "funcplug/host_abi.h"
#include "host/loader.h"
#include "host/status.h"
#include "rodived/x87.h"

namespace host {

namespace {
void* plugin = nullptr;
std::string plugin_path;

sigjmp_buf fault_return;
volatile sig_atomic_t fault_code = 0;
volatile sig_atomic_t fault_control_word = 0;

void OnFault(int signal_number, siginfo_t* info, void* context) {
    auto* uc = static_cast<ucontext_t*>(context);
    uint32_t code = err::status::kAccessViolation;
    uint16_t control_word = 0;
#if defined(__x86_64__)
    if (uc->uc_mcontext.fpregs != nullptr) {
        control_word = uc->uc_mcontext.fpregs->cwd;
        if (signal_number == SIGFPE) {
            code = info->si_code == FPE_INTDIV ? err::status::kIntegerDivideByZero
                                               : X87StatusCode(uc->uc_mcontext.fpregs->swd, control_word);
        }
    }
#else
    (void)uc;
    if (signal_number == SIGFPE) code = err::status::kFloatInvalidOperation;
#endif
    fault_code = static_cast<sig_atomic_t>(code);
    fault_control_word = control_word;
    siglongjmp(fault_return, 1);
}

void InstallFaultHandlers() {
    static bool installed = false;
    if (installed) return;
    struct sigaction action {};
    action.sa_sigaction = OnFault;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    sigaction(SIGFPE, &action, nullptr);
    sigaction(SIGSEGV, &action, nullptr);
    sigaction(SIGBUS, &action, nullptr);
    installed = true;
}

std::string BesideExecutable(const char* file) {
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) return file;
    path[n] = '\0';
    std::string dir(path);
    dir.erase(dir.find_last_of('/') + 1);
    return dir + file;
}
}  // namespace

bool LoadPlugin(const std::string& path, std::string& error) {
    plugin_path = path.empty() ? BesideExecutable("libfuncplug.so") : path;
    plugin = dlopen(plugin_path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (plugin == nullptr) {
        const char* why = dlerror();
        error = why != nullptr ? why : "cannot load " + plugin_path;
        return false;
    }
    return true;
}

void UnloadPlugin() {
    if (plugin != nullptr) dlclose(plugin);
    plugin = nullptr;
}

bool ReloadPlugin(std::string& error) {
    UnloadPlugin();
    return LoadPlugin(plugin_path, error);
}

void* FindExport(const char* name) { return plugin == nullptr ? nullptr : dlsym(plugin, name); }

CallResult GuardedCall(void (*function)(), uint16_t control_word) {
    CallResult result;
    InstallFaultHandlers();
    x87::fnclex();
    x87::fldcw(control_word);
    if (sigsetjmp(fault_return, 1) != 0) {
        result.outcome = Outcome::kFault;
        result.fault_code = static_cast<uint32_t>(fault_code);
        result.control_word = static_cast<uint16_t>(fault_control_word);
        x87::fninit();
        return result;
    }
    try {
        function();
    } catch (const funcplug::ModuleRaise& raise) {
        result.control_word = x87::fnstcw();
        result.outcome = Outcome::kModuleException;
        auto* object = reinterpret_cast<const funcplug::ExceptionLayout*>(
            raise.parameters[funcplug::kExceptionObjectParameter]);
        result.kind = object->Kind;
        result.message = object->Message != nullptr ? object->Message : "";
        funcplug::DestroyException(object);
        return result;
    }
    result.control_word = x87::fnstcw();
    return result;
}

}  // namespace host
