#pragma once

#include <QDir>
#include <QStringList>

class QImage;
class QWidget;

// Writes the pictures, as <name>-<language>.png in one folder, and keeps what went wrong: a
// picture that could not be written, or one of widgets whose style sheets ask for a skin image
// that does not exist.
class Camera
{
public:
    explicit Camera(const QDir& folder);
    ~Camera();

    void setLanguage(const QString& code) { language = code; }
    const QString& currentLanguage() const { return language; }

    void shoot(QWidget* widget, const QString& name);
    // A dialog where it opened: the screen it is on, with the other windows shown under it.
    void shootOver(QWidget* dialog, const QString& name);
    // A picture composed by the caller; `file` as given, without the language.
    void save(const QImage& picture, const QString& file);
    // Something a scene needed did not happen.
    void fail(const QString& what);

    const QStringList& written() const { return files; }
    const QStringList& faults() const { return problems; }

private:
    QDir folder;
    QString language;
    QStringList files;
    QStringList problems;
};
