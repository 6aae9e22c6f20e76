#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the import path shares about files: the option bits, the file types, whether a file is taken and whether
// it expands into several items, a file's type, name and pixel size, and the analysis of dropped paths.
// Stateless and safe from any thread.

using PTImportOptions = quint64;

namespace PTImportOption {
constexpr PTImportOptions Always = 0x1;
constexpr PTImportOptions FoldersBecomeGroupsAndSets = 0x2;
constexpr PTImportOptions DescendIntoFolders = 0x4;
constexpr PTImportOptions AcceptSVG = 0x8;
constexpr PTImportOptions AcceptGIF = 0x10;
constexpr PTImportOptions AcceptOTF = 0x20;
constexpr PTImportOptions AcceptTTF = 0x40;
constexpr PTImportOptions AcceptPNG = 0x80;
constexpr PTImportOptions AcceptICNS = 0x100;
constexpr PTImportOptions AcceptPDF = 0x200;
constexpr PTImportOptions ExpandICNS = 0x400;
constexpr PTImportOptions ExpandSpriteSheets = 0x800;
constexpr PTImportOptions AcceptWebP = 0x1000;
constexpr PTImportOptions KeepFileNames = 0x2000;
constexpr PTImportOptions AcceptICO = 0x4000;
constexpr PTImportOptions ExpandICO = 0x8000;
constexpr PTImportOptions UseFileTags = 0x10000;
// Every bit from 0x2 to 0x10000: what validating drops and opened files uses.
constexpr PTImportOptions All = 0x1FFFE;
} // namespace PTImportOption

enum class PTImportFileType { SVG = 0, PNG, GIF, OTF, TTF, ICNS, PDF, WebP, ICO, Other };

// The flags of PTImportPathInfo.
namespace PTImportPathInfoFlag {
constexpr int Type = 0x4;
constexpr int Name = 0x8;
constexpr int PixelSize = 0x40;
constexpr int All = 0x7C;
} // namespace PTImportPathInfoFlag

struct PTImportPathInfo {
    QString name;
    PTImportFileType type = PTImportFileType::Other;
    // Pixels, read from the header; zero when the type carries no size or the header does not read.
    qint64 width = 0;
    qint64 height = 0;
};

PTImportOptions PTDefaultImportOptions();
bool PTImportOptionsContain(PTImportOptions options, PTImportOptions mask);
// By the extension, compared case-insensitively.
PTImportFileType PTImportFileTypeForExtension(const QString& extension);
// The bit that accepts the type; 0 for Other.
PTImportOptions PTImportOptionForFileType(PTImportFileType type);
// "svg", "png", "gif", "otf", "ttf", "icns", "pdf", "webp", "ico".
QStringList PTImportExtensions();

// Nothing when nothing exists at the path (a dangling link included). The name is the last component without its
// extension; the pixel size comes from the header only (PNG, GIF, ICNS, ICO, WebP), nothing is decoded.
std::optional<PTImportPathInfo> PTImportPathInfoForPath(const QString& path, int flags = PTImportPathInfoFlag::All);
// Only the extension is looked at: a folder named "x.svg" counts as an accepted SVG file.
bool PTImportPathIsAccepted(const QString& path, PTImportOptions options);
// Fonts always; SVG, ICNS and ICO when their expansion bit is set.
bool PTImportTypeExpands(PTImportFileType type, PTImportOptions options);
// The options with the accepting bit of each path's type added, so that files named explicitly are taken.
PTImportOptions PTImportOptionsForURLs(PTImportOptions options, const QStringList& paths);

// What a drop makes: a group, a set, both, or nothing.
enum class PTImportKind { Group = 1, Set = 2, GroupAndSet = 3, Nothing = 4 };
// The kind, and through `suggestedName` the name proposed for it (null without paths). Paths are file paths or
// file URLs.
PTImportKind PTImportAnalysePaths(const QStringList& paths, PTImportOptions options, QString* suggestedName = nullptr);
namespace PTImportFolderContents {
constexpr int SubFolder = 0x1;
constexpr int AcceptedFile = 0x2;
} // namespace PTImportFolderContents
// PTImportFolderContents bits of what the folder holds; 0 for an empty or unreadable folder.
int PTImportAnalyseFolder(const QString& folder, PTImportOptions options);

// A folder shown and handled as one file (a library, a bundle, an application), never entered by an import.
bool PTImportIsPackage(const QString& path);
