#include "cli/plotexport.h"

#include <dlfcn.h>

#include <filesystem>

namespace quorix::cli {

ExportPlotsFunction LoadPlotExport(std::string& error) {
    std::error_code ignored;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ignored);
    const std::filesystem::path places[] = {program.parent_path() / QUORIX_PLOT_MODULE,
                                            program.parent_path() / QUORIX_PLOT_MODULE_DIR /
                                                QUORIX_PLOT_MODULE};
    for (const auto& place : places) {
        // Never unloaded: Qt keeps threads and handlers of its own until the program ends.
        if (void* module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            if (void* entry = dlsym(module, "QuorixExportPlots")) {
                return reinterpret_cast<ExportPlotsFunction>(entry);
            }
        }
    }
    const char* reason = dlerror();
    error = std::string("cannot load the picture export ") + QUORIX_PLOT_MODULE +
            (reason ? std::string(": ") + reason : "");
    return nullptr;
}

} // namespace quorix::cli
