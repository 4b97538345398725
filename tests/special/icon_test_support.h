#pragma once
// Icon libraries for the icon window's tests: a hand-made one whose pixels are known,
// and a program folder holding copies of the shipped libraries.
#include "../imaging/icon_builders.h"
#include "platform/program_folder.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace specialtest {

// Icon 0: 32 x 32, its left half transparent and its right half opaque red.
// Icon 1: 16 x 16 only (two colours, top-left pixel transparent).
// Icon 2: 32 x 32 opaque blue.
inline QByteArray handMadeLibrary()
{
    using namespace icontest;
    const QByteArray halfRed = dib32(32, 32, [](int x, int) { return x < 16 ? qRgba(0, 0, 0, 0) : qRgba(255, 0, 0, 255); });
    return neLibrary({
        Group{1, {Picture{halfRed, 1}}},
        Group{2, {Picture{dib4(16, 16, qRgb(0, 128, 0), qRgb(255, 255, 0), 8), 2}}},
        Group{3, {Picture{dib32(32, 32, qRgba(0, 0, 255, 255)), 3}}},
    });
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program folder of its own for one test: the five standard libraries, a
// "BonusIcons" folder with the shipped bonus libraries, and the hand-made library as
// "handmade.icl". Restores the real program folder when it goes.
struct ProgramFolderWithIcons {
    QTemporaryDir dir;

    explicit ProgramFolderWithIcons(bool withBonus = true)
    {
        const QString assets = ovtest::sourceDir() + QStringLiteral("/assets/");
        for (const char* name : {"activity.icl", "events.icl", "holiday.icl", "misc1.icl", "misc2.icl"})
            QFile::copy(assets + QLatin1String(name), path(QLatin1String(name)));
        if (withBonus) {
            QDir().mkpath(path(QStringLiteral("BonusIcons")));
            const QDir bonus(assets + QStringLiteral("BonusIcons"));
            for (const QString& name : bonus.entryList(QDir::Files))
                QFile::copy(bonus.filePath(name), path(QStringLiteral("BonusIcons/") + name));
        }
        writeFile(path(QStringLiteral("handmade.icl")), handMadeLibrary());
        setProgramFolderOverride(dir.path());
    }
    ~ProgramFolderWithIcons() { setProgramFolderOverride(QString()); }
    QString path(const QString& name) const { return dir.filePath(name); }
};

} // namespace specialtest
