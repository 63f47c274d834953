#include "plot/dialog/format_help.h"

#include "platform/text/ascii_case.h"

#include <dirent.h>
#include <unistd.h>

namespace halvex {

std::string FormatHelpTopic(bool inZorvic, std::string_view stem, bool context)
{
    std::string topic = inZorvic ? "Zorvic" : "Pellix";
    topic += context ? "3D_Plot_Format_dialog_box_" : "3d_plot_format_dialog_box_";
    topic += stem;
    topic += ".html";
    return topic;
}

std::string HelpFolder()
{
    std::string exe(4096, '\0');
    ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size() - 1);
    if (n <= 0)
        return "help/";
    exe.resize(std::size_t(n));
    return exe.substr(0, exe.rfind('/') + 1) + "help/";
}

std::string FindHelpFile(const std::string& folder, std::string_view topic)
{
    std::string found;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(dir)) {
            if (platform::equalsIgnoreCaseAscii(e->d_name, topic)) {
                found = folder;
                if (!found.empty() && found.back() != '/')
                    found += '/';
                found += e->d_name;
                break;
            }
        }
        ::closedir(dir);
    }
    return found;
}

} // namespace halvex
