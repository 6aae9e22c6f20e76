#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace pt {
class SystemAppearanceSource;
}

// Appearance values and preferences.
enum PTAppearance { PTAppearanceDark = 0, PTAppearanceAqua = 1 };
enum PTAppearancePreference { PTAppearancePreferenceManual = 0, PTAppearancePreferenceAutomatic = 1 };

// The application's light or dark theme: picked by the user or following the desktop. It keeps the current
// value, stores the user's choice in the defaults, gives the application the matching palette, posts
// "PTThemeAppearanceDidChangeNotification" and calls the appearance blocks when the value changes.
class PTThemeController : public QObject {
    Q_OBJECT
public:
    static const QString AppearancePreferenceKey; // "PTThemeAppearancePreference", 0 manual, 1 automatic
    static const QString AppearanceKey;           // "PTThemeAppearance", the manual value
    static const QString AppearanceDidChangeNotification;

    // Registers the automatic preference as the default.
    static void registerDefaults();
    // The shared controller, following the desktop portal; made on first use.
    static PTThemeController& defaultController();

    // Starts from the stored choice and asks the source for the system value (which arrives later). The
    // application's palette is applied at the end whatever the value.
    explicit PTThemeController(std::unique_ptr<pt::SystemAppearanceSource> source, QObject* parent = nullptr);
    ~PTThemeController() override;

    int appearance() const { return appearance_; }
    // The system value for the automatic preference, else the current value.
    int appearanceForPreference(int preference) const;
    int systemAppearance() const { return systemAppearance_; }
    // Changes the current value without storing it (the toggle command).
    void setAppearance(int appearance);
    // Stores the user's choice and applies it: manual stores the value, automatic removes it.
    void setDefaultAppearance(int appearance, int preference);
    void loadAppearanceFromDefaults();

private:
    void systemAppearanceDidChange(int appearance);
    static void applyPalette(int appearance);

    std::unique_ptr<pt::SystemAppearanceSource> source_;
    int systemAppearance_ = PTAppearanceAqua;
    bool loaded_ = false;
    int appearance_ = PTAppearanceDark;
};

// Whether the shared controller's current value is the given one: 0 asks "dark now?", 1 "light now?".
bool PTThemeIsAppearance(int appearance);
