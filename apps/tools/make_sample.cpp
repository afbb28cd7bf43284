// Writes the sample drawing that ships in examples/:
//   mycad-make-sample examples/sample.zed
#include "apps/common/SampleDrawing.h"
#include "cad/io/DocumentFile.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: mycad-make-sample OUT.zed\n");
        return 2;
    }
    mycad::TMyCAD cad;
    mycad::app::BuildSampleDrawing(cad);
    if (!mycad::SaveToFile(cad, args.at(1))) {
        std::fprintf(stderr, "mycad-make-sample: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
