// TStudioWindow: the Shapes panel in its dock, stencils dropped on the
// canvas, and the shipped libraries it opens the first time.
#include "apps/common/ShippedLibraries.h"
#include "apps/studio/StudioWindow.h"

#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QScrollArea>
#include <QSettings>

namespace mycad::studio {

namespace {

/// The shipped libraries: installed beside the program's share folder, or
/// in the sources when Studio runs from a build tree.
QStringList ShippedLibraryFiles()
{
    const QStringList folders{QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("../share/mycad/libraries")),
                              QStringLiteral(MYCAD_SOURCE_EXAMPLES_DIR)};
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QString flowchart = dir.filePath(QString::fromLatin1(app::kFlowchartLibraryFile));
        if (QFileInfo(flowchart).isFile()) {
            return {QFileInfo(flowchart).absoluteFilePath(),
                    QFileInfo(dir.filePath(QString::fromLatin1(app::kBasicLibraryFile))).absoluteFilePath()};
        }
    }
    return {};
}

} // namespace

void TStudioWindow::BuildShapesPanel()
{
    shapes_ = new TShapesPanel(Cad(), *settings_, this);
    auto* dock = new QDockWidget(QStringLiteral("Shapes"), this);
    dock->setObjectName(QStringLiteral("shapesDock"));
    dock->setWidget(shapes_);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    shapes_->AskOpenFileName = [this] {
        return AskOpenFileName(QStringLiteral("Open shape library"), QStringLiteral("Shape libraries (*.zlb);;All files (*)"));
    };
    shapes_->ViewCentre = [this] {
        QWidget* viewport = area_->ScrollArea().viewport();
        return Cad().mapFrom(viewport, viewport->rect().center());
    };
    connect(shapes_, &TShapesPanel::DrawingChanged, this, [this] {
        Changed();
        Cad().setFocus(Qt::OtherFocusReason);
    });
    Cad().OnStencilDropped = [this](const QByteArray& data, int32_t x, int32_t y) {
        return shapes_->PlaceDropped(data, x, y);
    };
    shapes_->OpenRemembered(ShippedLibraryFiles());
}

} // namespace mycad::studio
