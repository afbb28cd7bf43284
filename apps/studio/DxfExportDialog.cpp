#include "apps/studio/DxfExportDialog.h"

#include "apps/studio/StudioWindow.h"
#include "cad/io/DxfExport.h"
#include "platform/Messages.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace mycad::studio {

TDxfExportDialog::TDxfExportDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Export as DXF"));
    setObjectName(QStringLiteral("dxfExportDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Write text shapes as:"), this));
    auto* text = new QRadioButton(QStringLiteral("&Text that CAD programs can edit"), this);
    text->setObjectName(QStringLiteral("dxfText"));
    text->setChecked(true);
    outlines_ = new QRadioButton(QStringLiteral("&Outlines of the letters, for cutting and plotting"), this);
    outlines_->setObjectName(QStringLiteral("dxfOutlines"));
    layout->addWidget(text);
    layout->addWidget(outlines_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool TDxfExportDialog::TextOutlines() const { return outlines_->isChecked(); }

std::function<std::optional<bool>(QWidget* parent)> AskDxfTextOutlines = [](QWidget* parent) -> std::optional<bool> {
    TDxfExportDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.TextOutlines();
};

QAction* MakeDxfExportAction(TStudioWindow& window)
{
    auto* action = new QAction(QStringLiteral("Export as &DXF\u2026"), &window);
    action->setObjectName(QStringLiteral("fileExportDxf"));
    action->setStatusTip(QStringLiteral("Write the drawing as a DXF file in millimetres for CAD programs"));
    QObject::connect(action, &QAction::triggered, &window, [&window] {
        const QString current = window.FileName();
        const QFileInfo base(current.isEmpty() ? QDir::home().filePath(QStringLiteral("Untitled.zed")) : current);
        QString file = window.AskSaveFileName(QStringLiteral("Export as DXF"),
                                              base.dir().filePath(base.completeBaseName() + QStringLiteral(".dxf")),
                                              QStringLiteral("DXF drawings (*.dxf)"));
        if (file.isEmpty()) return;
        if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".dxf");
        const std::optional<bool> outlines = AskDxfTextOutlines(&window);
        if (outlines) ExportDxf(window, file, *outlines);
    });
    return action;
}

bool ExportDxf(TStudioWindow& window, const QString& fileName, bool textOutlines)
{
    const bool written = textOutlines ? SaveToDxf1(window.Cad(), fileName) : SaveToDxf(window.Cad(), fileName);
    if (!written) {
        ShowMessage(QStringLiteral("%1: the DXF file could not be written.").arg(fileName));
        return false;
    }
    window.statusBar()->showMessage(QStringLiteral("Exported %1").arg(QDir::toNativeSeparators(fileName)), 4000);
    return true;
}

} // namespace mycad::studio
