#include "transfer/export/PTExportBuiltInPresets.h"

#include "foundation/StringAdditions.h"

#include <algorithm>
#include <vector>

namespace {

struct Output {
    const char* size;
    const char* prefix = "";
    const char* suffix = "";
    qint64 format = PTExportFormatPNG;
};

struct SubPreset {
    const char* name;
    const char* identifier;
    std::vector<Output> outputs;
};

struct Preset {
    const char* name;
    const char* identifier;
    std::vector<SubPreset> subsets;
};

const std::vector<Preset>& table()
{
    static const std::vector<Preset> presets = {
        {"Web", "__PTBuiltInWebPreset", {{"Favicon", "__PTBuiltInWebFavicon", {{"16s", "", "", PTExportFormatICO}}}}},
        {"macOS",
         "__PTBuiltInMacOSPreset",
         {{"App Icon",
           "__PTBuiltInMacOSPresetAppIcon",
           {{"16s", "16x16-"},
            {"32s", "16x16-", "@2x"},
            {"32s", "32x32-"},
            {"64s", "32x32-", "@2x"},
            {"128s", "128x128-"},
            {"256s", "128x128-", "@2x"},
            {"256s", "256x256-"},
            {"512s", "256x256-", "@2x"},
            {"512s", "512x512-"},
            {"1024s", "512x512-", "@2x"}}},
          {"Toolbar Icon", "__PTBuiltInMacOSPresetToolbarIcon", {{"19s"}, {"24s"}, {"32s"}}},
          {"Sidebar Icon", "__PTBuiltInMacOSPresetSidebarIcon", {{"16s"}, {"18s"}, {"32s", "", "@2x"}}},
          {"Menu Bar Icon", "__PTBuiltInMacOSPresetMenuBarIcon", {{"22s"}}},
          {"Safari Extension Icon",
           "__PTBuiltInMacOSPresetSafariExtensionIcon",
           {{"16s"}, {"32s", "", "@2x"}, {"48s", "", "@3x"}}}}},
        {"iOS",
         "__PTBuiltIniOSPreset",
         {{"Tab Bar Icon", "__PTBuiltIniOSPresetTabBarIcon", {{"25s"}, {"50s", "", "@2x"}, {"75s", "", "@3x"}}},
          {"Toolbar & Navigation Icons",
           "__PTBuiltIniOSPresetToolbarNavigationIcons",
           {{"22s"}, {"44s", "", "@2x"}, {"66s", "", "@3x"}}}}},
        {"Android",
         "__PTBuiltInAndroidPreset",
         {{"Small Contextual Icons",
           "__PTBuiltInAndroidPresetSMallContextualIcons",
           {{"16s", "", "-mdpi"}, {"24s", "", "-hdpi"}, {"32s", "", "-xhdpi"}, {"48s", "", "-xxhdpi"},
            {"64s", "", "-xxxhdpi"}}},
          {"Notification Icons",
           "__PTBuiltInAndroidPresetNoticationIcons",
           {{"22s", "", "-mdpi"}, {"33s", "", "-hdpi"}, {"44s", "", "-xhdpi"}, {"66s", "", "-xxhdpi"},
            {"88s", "", "-xxxhdpi"}}},
          {"Action Bar, Dialog & Tab Icons",
           "__PTBuiltInAndroidPresetActionBarDialogTabIcons",
           {{"24s", "", "-mdpi"}, {"36s", "", "-hdpi"}, {"48s", "", "-xhdpi"}, {"72s", "", "-xxhdpi"},
            {"96s", "", "-xxxhdpi"}}}}},
        {"Windows Phone",
         "__PTBuiltInWPPreset",
         {{"Application Bar Icons", "__PTBuiltInWPPresetTabbarIcon", {{"48s"}}}}},
    };
    return presets;
}

} // namespace

QList<PTExportOutputOptionSet> PTExportBuiltInPresets::all()
{
    QList<PTExportOutputOptionSet> presets;
    for (const Preset& preset : table()) {
        PTExportOutputOptionSet set;
        set.name = QString::fromUtf8(preset.name);
        set.identifier = QString::fromUtf8(preset.identifier);
        for (const SubPreset& sub : preset.subsets) {
            PTExportOutputOptionSet subset;
            subset.name = QString::fromUtf8(sub.name);
            subset.identifier = QString::fromUtf8(sub.identifier);
            for (const Output& output : sub.outputs) {
                PTExportOutputOption option;
                option.sizeFormat = QString::fromUtf8(output.size);
                option.prefix = QString::fromUtf8(output.prefix);
                option.suffix = QString::fromUtf8(output.suffix);
                option.format = output.format;
                subset.addOutputOption(option);
            }
            set.addSubset(subset);
        }
        presets.append(set);
    }
    return presets;
}

void PTExportBuiltInPresets::sortForMenu(QList<PTExportOutputOptionSet>& sets)
{
    std::stable_sort(sets.begin(), sets.end(), [](const auto& a, const auto& b) {
        if (a.sort != b.sort)
            return a.sort > b.sort;
        return stringAdditions::cStringComparison(a.name, b.name) < 0;
    });
}
