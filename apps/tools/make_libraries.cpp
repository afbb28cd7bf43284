// Writes the shape libraries that ship in examples/:
//   mycad-make-libraries examples
#include "apps/common/ShippedLibraries.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: mycad-make-libraries DIR\n");
        return 2;
    }
    const QDir dir(args.at(1));
    mycad::TLibManager flowchart;
    mycad::app::BuildFlowchartLibrary(flowchart);
    mycad::TLibManager basic;
    mycad::app::BuildBasicLibrary(basic);
    bool ok = flowchart.SaveToFile(dir.filePath(QString::fromLatin1(mycad::app::kFlowchartLibraryFile)));
    ok = basic.SaveToFile(dir.filePath(QString::fromLatin1(mycad::app::kBasicLibraryFile))) && ok;
    if (!ok) {
        std::fprintf(stderr, "mycad-make-libraries: cannot write into %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
