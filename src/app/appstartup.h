#pragma once

#include <QFont>
#include <QSettings>
#include <QString>
#include <QTranslator>

#include <memory>

class QApplication;

// The start-up state that lives for the whole run: identity, fonts, language, translator.
class AppStartup
{
public:
    // Gives the application its identity, registers the fonts, records them in the settings,
    // decides the language and installs the translation and the default font.
    explicit AppStartup(QApplication& app);

    Q_DISABLE_COPY(AppStartup)

    // Before the application object: the window's images (a few hundred KiB to 6 MiB each)
    // come from and go back to the heap instead of fresh mappings from the kernel, whose first
    // touch of each page was a tenth of the start-up, and again whenever such a picture is made.
    static void tuneAllocator();

    // Before the application object: the fixed-size skinned window is drawn at the screen's
    // scale from the skin's @2x images instead of appearing tiny on a high-DPI display.
    static void followScreenScale();

    bool chinese() const { return isChinese; }

private:
    QTranslator translator;
    int arialId = -1;
    int youId = -1;
    QString arialFamily;
    QString youFamily;
    QFont arialFont;
    QFont youFont;
    // Destroyed before the fonts and the translator, as the entry point requires.
    std::unique_ptr<QSettings> settings;
    bool isChinese = false;
};
