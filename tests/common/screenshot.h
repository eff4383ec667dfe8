#pragma once

// What the screenshot programs share: the program's language for a while, and a grab of a
// widget written as screenshot-<name>-<language>.png into the current directory for a person
// to look at.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLocale>
#include <QTranslator>
#include <QWidget>
#include <QtTest>

// The program's language for the lifetime of the object: default locale and translation.
class Language
{
public:
    explicit Language(const QString& code)
    {
        if (code == QLatin1String("zh")) {
            QLocale::setDefault(QLocale(QLocale::Chinese));
            loaded = translator.load(QStringLiteral(":/tr/FCApp.qm"));
            QCoreApplication::installTranslator(&translator);
        } else {
            QLocale::setDefault(QLocale(QLocale::English));
        }
    }
    ~Language()
    {
        QCoreApplication::removeTranslator(&translator);
        QLocale::setDefault(QLocale(QLocale::English));
    }
    bool loaded = false;

private:
    QTranslator translator;
};

// Grabs the widget, saves it as screenshot-`name`-`language`.png and checks what was written.
inline void shoot(QWidget* widget, const QString& name, const QString& language)
{
    const QImage image = widget->grab().toImage();
    QCOMPARE(image.size(), widget->size() * widget->devicePixelRatioF());
    const QString path =
        QDir::current().filePath(QStringLiteral("screenshot-%1-%2.png").arg(name, language));
    QVERIFY2(image.save(path), qPrintable(path));
    QCOMPARE(QImage(path).size(), image.size());
    qInfo("%s", qPrintable(path));
}
