#pragma once

#include <QSet>
#include <QString>

class PTFileNamer;

// Names for the library's files and for display, shared by import, export, bundles and the library store.
// Stateless and safe from any thread.

// A tidy display name: words (runs of letters, digits and "@" of any script) put through PTPrettifyWord,
// capitalised unless upper case, starting with a digit, mixed case or holding "@", joined by one blank:
// "arrow_left-24px" -> "Arrow Left 24px", "ios-settings" -> "iOS Settings".
QString PTPrettifyName(const QString& name);
// One word through the word map ("ios" -> "iOS", "hidpi" -> "HiDPI", ...); words of fewer than three
// characters upper-cased; others unchanged.
QString PTPrettifyWord(const QString& word);
// True when the word holds an upper-case letter and also something that is not one.
bool PTIsMixedCase(const QString& word);

// A lower-case name made of a-z, 0-9, "@" and "." only; every other run becomes one "-":
// "Arrow Left.svg" -> "arrow-left.svg". A name whose stem would hold no letter or digit gets the stem
// "untitled", so that it keeps its extension.
QString PTSafeFileName(const QString& name);
// A name not yet taken in the directory nor handed out before (when `handedOut` is given, the answer joins it):
// leading dots removed, text after the first dot dropped but for the last extension ("a.b.c.svg" -> "a.svg"),
// then "a.1.svg", "a.2.svg", ... while taken; a name without an extension never ends with a dot ("readme.1").
// Slashes and NUL never survive, and the stem is cut between characters so that the name fits in 255 bytes of
// UTF-8, so the answer always names a file that can be made directly inside the directory.
QString PTUniqueFileName(const QString& name, const QString& directory, QSet<QString>* handedOut = nullptr);
QString PTSafeUniqueFileName(const QString& name, const QString& directory, QSet<QString>* handedOut = nullptr);
// The same names for a job that names many files: the namer goes on counting where it stopped for the name in the
// directory, so that n files of one name cost n lookups instead of n²/2. Names it handed out count as taken.
QString PTUniqueFileName(const QString& name, const QString& directory, PTFileNamer& namer);
QString PTSafeUniqueFileName(const QString& name, const QString& directory, PTFileNamer& namer);
// What PTSafeUniqueFileName answers when the directory takes no name, found without looking at the disk.
QString PTSafeFirstFileName(const QString& name);

// The longest file name Linux file systems take, in bytes of UTF-8.
constexpr qsizetype PTMaxFileNameBytes = 255;
// The longest start of the text that takes at most `bytes` bytes of UTF-8; a character is never split.
QString PTCutToUtf8Size(const QString& text, qsizetype bytes);
// "<stem>[.<counter>][.<extension>]" (no counter when it is 0), the stem cut so that the whole fits in one file
// name.
QString PTFittedFileName(const QString& stem, qint64 counter, const QString& extension);

class PTCollection;
// Gives a new set its normalised search name, the date now and a new identifier.
void PTSetNewObjectDefaults(PTCollection* set);
