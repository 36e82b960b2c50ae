// Makes a skin file from an image file: the picture together with the
// window region that leaves out the colour of its top-left pixel. The build
// makes the about box's skin resource with it.
//
//   mkskin IMAGE SKIN
//
// An existing skin file is replaced. The skin is read back before the tool
// reports success.

#include "CSkin.h"
#include "RuvError.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: mkskin IMAGE SKIN\n");
        return 2;
    }
    CSkin skin;
    skin.SetOverwriteQuestion([](const QString&) { return true; });
    QString path = args.at(2);
    if (!path.endsWith(QLatin1String(".skn")))
        path += QStringLiteral(".skn");
    try {
        skin.CreateSkin(args.at(1), args.at(2));
        QRegion region;
        QImage picture;
        if (!skin.ExtractSkinFromFile(path, region, picture)) {
            std::fprintf(stderr, "mkskin: %s was not written\n", qPrintable(path));
            return 1;
        }
        std::printf("%s: %dx%d picture, %d rectangles\n", qPrintable(path), picture.width(), picture.height(),
                    static_cast<int>(region.rectCount()));
    } catch (const RuvError& e) {
        std::fprintf(stderr, "mkskin: %s (error 0x%08X, %s)\n", qPrintable(e.description()),
                     static_cast<unsigned>(e.number()), qPrintable(e.source()));
        return 1;
    }
    return 0;
}
