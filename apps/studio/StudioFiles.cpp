// Files in the main window: new, open, save, export, the recent files, the
// question about unsaved changes, and rendering a drawing without a window.
#include "apps/studio/StudioWindow.h"

#include "apps/common/DrawingFiles.h"
#include "cad/io/DocumentFile.h"
#include "cad/io/RasterExport.h"
#include "platform/Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include <csignal>

namespace mycad::studio {

namespace {

const QString kRecentKey = QStringLiteral("recentFiles");
constexpr int kMaxRecent = 8;
const QString kDrawingFilter = QStringLiteral("MyCAD drawings (*.zed);;All files (*)");

QString DisplayName(const QString& fileName)
{
    return fileName.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(fileName).fileName();
}

bool WritePicture(TMyCAD& cad, const QString& fileName)
{
    switch (app::ImageFormatOf(fileName)) {
    case app::TImageFormat::Png: return SaveToPng(cad, fileName, true);
    case app::TImageFormat::Jpeg: return SaveToJpg(cad, fileName, 92, true);
    case app::TImageFormat::Bmp: return SaveToBmp(cad, fileName, true);
    case app::TImageFormat::Unknown: break;
    }
    return false;
}

} // namespace

bool TStudioWindow::MaybeSave()
{
    if (!IsModified()) return true;
    switch (AskSaveChanges(DisplayName(fileName_))) {
    case TSaveAnswer::Save: return Save();
    case TSaveAnswer::Discard: return true;
    case TSaveAnswer::Cancel: return false;
    }
    return false;
}

bool TStudioWindow::NewDrawing()
{
    if (!MaybeSave()) return false;
    TMyCAD& cad = Cad();
    cad.DeSelectedAllShapesByCode();
    cad.DeleteAllShapes();
    cad.ClearAllUndoStuff();
    // The layer table starts over as a new canvas has it.
    cad.DeleteAllLayers();
    cad.NewLayer(QStringLiteral("Layer0"), true);
    cad.UserData().ClearAll();
    cad.SetBkBitmap(TBitmap());
    cad.SetColorOfBackGround(clWhite);
    cad.SetRatio(1.0);
    cad.SetTag(0);
    cad.SetDiskFileVersion(QStringLiteral("XP.j"));
    cad.SetZoom(1.0);
    cad.SetPageOrientation(TPageOrientation::poPortrait);
    cad.SetPageStyle(TPageStyle::A4);
    cad.Global_Changed = false;
    SetFileName(QString());
    DrawingReplaced();
    return true;
}

bool TStudioWindow::OpenFile(const QString& fileName)
{
    if (!MaybeSave()) return false;
    // Loading adds the file's key/value pairs to those the canvas holds; the
    // editor opens a drawing with its own pairs only, and keeps the current
    // ones when the file cannot be read.
    TUserData previous;
    previous.Assign(Cad().UserData());
    Cad().UserData().ClearAll();
    const app::TOpenResult result = app::OpenDrawing(Cad(), fileName);
    if (result != app::TOpenResult::Opened) {
        Cad().UserData().Assign(previous);
        ShowMessage(app::OpenErrorText(result, fileName));
        return false;
    }
    Cad().Global_Changed = false;
    SetFileName(fileName);
    AddRecentFile(fileName);
    DrawingReplaced();
    return true;
}

bool TStudioWindow::SaveFile(const QString& fileName)
{
    bool saved = false;
    area_->AtZoomOne([&] { saved = SaveToFile(Cad(), fileName); });
    if (!saved) {
        ShowMessage(QStringLiteral("%1: the drawing could not be saved there.").arg(fileName));
        return false;
    }
    SetFileName(fileName);
    AddRecentFile(fileName);
    RemoveRecovery();
    statusBar()->showMessage(QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(fileName)), 4000);
    QueueSync();
    return true;
}

bool TStudioWindow::Save()
{
    if (fileName_.isEmpty()) return SaveAs();
    return SaveFile(fileName_);
}

bool TStudioWindow::SaveAs()
{
    const QString suggestion =
        fileName_.isEmpty() ? QDir::home().filePath(QStringLiteral("Untitled.zed")) : fileName_;
    QString file = AskSaveFileName(QStringLiteral("Save drawing"), suggestion, kDrawingFilter);
    if (file.isEmpty()) return false;
    if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".zed");
    return SaveFile(file);
}

bool TStudioWindow::ExportPicture(const QString& fileName)
{
    if (app::ImageFormatOf(fileName) == app::TImageFormat::Unknown) {
        ShowMessage(QStringLiteral("%1: pictures are written as .png, .jpg or .bmp files.").arg(fileName));
        return false;
    }
    bool written = false;
    area_->AtZoomOne([&] { written = WritePicture(Cad(), fileName); });
    if (!written) {
        ShowMessage(QStringLiteral("%1: the picture could not be written.").arg(fileName));
        return false;
    }
    statusBar()->showMessage(QStringLiteral("Exported %1").arg(QDir::toNativeSeparators(fileName)), 4000);
    return true;
}

void TStudioWindow::ExportAs(const QString& extension, const QString& filter)
{
    const QFileInfo base(fileName_.isEmpty() ? QDir::home().filePath(QStringLiteral("Untitled.zed")) : fileName_);
    const QString suggestion = base.dir().filePath(base.completeBaseName() + u'.' + extension);
    QString file = AskSaveFileName(QStringLiteral("Export picture"), suggestion, filter);
    if (file.isEmpty()) return;
    if (QFileInfo(file).suffix().isEmpty()) file += u'.' + extension;
    ExportPicture(file);
}

void TStudioWindow::SetFileName(const QString& fileName)
{
    fileName_ = fileName.isEmpty() ? QString() : QFileInfo(fileName).absoluteFilePath();
    UpdateTitle();
}

QStringList TStudioWindow::RecentFiles() const { return settings_->value(kRecentKey).toStringList(); }

void TStudioWindow::AddRecentFile(const QString& fileName)
{
    const QString path = QFileInfo(fileName).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kMaxRecent) files.removeLast();
    settings_->setValue(kRecentKey, files);
    settings_->sync();
    RebuildRecentMenu();
}

void TStudioWindow::RebuildRecentMenu()
{
    recentMenu_->clear();
    const QStringList files = RecentFiles();
    int n = 0;
    for (const QString& file : files) {
        ++n;
        QAction* a = recentMenu_->addAction(
            QStringLiteral("&%1  %2").arg(n).arg(QFileInfo(file).fileName()), this, [this, file] { OpenFile(file); });
        a->setObjectName(QStringLiteral("recent%1").arg(n));
        a->setStatusTip(QDir::toNativeSeparators(file));
    }
    if (files.isEmpty()) {
        recentMenu_->addAction(QStringLiteral("No recent drawings"))->setEnabled(false);
        return;
    }
    recentMenu_->addSeparator();
    recentMenu_->addAction(QStringLiteral("&Clear List"), this, [this] {
        settings_->remove(kRecentKey);
        settings_->sync();
        RebuildRecentMenu();
    });
}

void TStudioWindow::UpdateTitle()
{
    setWindowTitle(QStringLiteral("%1[*] \u2014 MyCAD Studio").arg(DisplayName(fileName_)));
    setWindowModified(IsModified());
}

void TStudioWindow::DrawingReplaced()
{
    shownSelection_.clear();
    shownShapeCount_ = Cad().MyShapes.size();
    SetTool(TDrawTool::SpSelecting);
    // The rulers count in the unit the drawing measures in.
    switch (Cad().TheUNIT()) {
    case TUnits::pixel: SetUnit(TRulerUnit::ruPixel, false); break;
    case TUnits::cm:
    case TUnits::dm: SetUnit(TRulerUnit::ruCenti, false); break;
    case TUnits::inch: SetUnit(TRulerUnit::ruInch, false); break;
    case TUnits::m: SetUnit(TRulerUnit::ruMeter, false); break;
    case TUnits::mm: SetUnit(TRulerUnit::ruMilli, false); break;
    }
    layers_->Refresh();
    properties_->Refresh();
    SizeControlToPage();
    FitPage();
    Cad().Invalidate();
    SyncUi();
}

void TStudioWindow::FitPage()
{
    // A large page opens whole; a small one at its real size.
    area_->ZoomToFit();
    if (area_->ZoomPercent() > 100) area_->SetZoomPercent(100);
    area_->SyncRulers();
}

// ---- Recovery copies.

void TStudioWindow::BuildRecovery()
{
    recoveryTimer_ = new QTimer(this);
    recoveryTimer_->setInterval(30000);
    connect(recoveryTimer_, &QTimer::timeout, this, [this] { SaveRecovery(); });
    recoveryTimer_->start();
    AskRestore = [this] {
        return QMessageBox::question(this, QStringLiteral("MyCAD Studio"),
                                     QStringLiteral("MyCAD Studio was not closed properly last time, and a drawing "
                                                    "had changes that were not saved.\nRestore that drawing?"),
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
    };
}

QString TStudioWindow::RecoveryFile() const
{
    // Beside the settings, so each set of settings has its own.
    return QFileInfo(settings_->fileName()).dir().filePath(QStringLiteral("recovery.zed"));
}

bool TStudioWindow::SaveRecovery()
{
    // Mid-gesture the shapes are half moved; the next round catches up.
    if (!IsModified() || Cad().GestureActive()) return false;
    QDir().mkpath(QFileInfo(RecoveryFile()).absolutePath());
    bool saved = false;
    area_->AtZoomOne([&] { saved = SaveToFile(Cad(), RecoveryFile()); });
    // Writing a document marks it saved; the copy saves nothing for the user.
    Cad().Global_Changed = true;
    if (saved) settings_->setValue(QStringLiteral("recovery/fileName"), fileName_);
    return saved;
}

void TStudioWindow::RemoveRecovery()
{
    QFile::remove(RecoveryFile());
    settings_->remove(QStringLiteral("recovery"));
}

bool TStudioWindow::OfferRecovery()
{
    const QString copy = RecoveryFile();
    if (!QFileInfo::exists(copy)) return false;
    if (!AskRestore()) {
        RemoveRecovery();
        return false;
    }
    const QString original = settings_->value(QStringLiteral("recovery/fileName")).toString();
    const app::TOpenResult result = app::OpenDrawing(Cad(), copy);
    if (result != app::TOpenResult::Opened) {
        ShowMessage(app::OpenErrorText(result, copy));
        RemoveRecovery();
        return false;
    }
    // The restored drawing is unsaved work under its own name, not the copy.
    SetFileName(original);
    DrawingReplaced();
    RemoveRecovery();
    MarkChanged();
    return true;
}

namespace {

TStudioWindow* gCrashWindow = nullptr;

extern "C" void SaveOnCrash(int signal)
{
    // Best effort: the process is going down anyway, and the copy is worth
    // more than the rules about what a signal handler may call.
    TStudioWindow* window = gCrashWindow;
    gCrashWindow = nullptr;
    if (window) window->SaveRecovery();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void InstallCrashRecovery(TStudioWindow* window)
{
    gCrashWindow = window;
    for (const int s : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGTERM, SIGHUP}) {
        std::signal(s, window ? SaveOnCrash : SIG_DFL);
    }
}

int RenderDrawingFile(const QString& drawing, const QString& out, QString& error)
{
    if (app::ImageFormatOf(out) == app::TImageFormat::Unknown) {
        error = QStringLiteral("%1: pictures are written as .png, .jpg or .bmp files").arg(out);
        return 1;
    }
    TMyCAD cad;
    const app::TOpenResult result = app::OpenDrawing(cad, drawing);
    if (result != app::TOpenResult::Opened) {
        error = app::OpenErrorText(result, drawing);
        return 1;
    }
    if (!WritePicture(cad, out)) {
        error = QStringLiteral("%1: the picture could not be written").arg(out);
        return 1;
    }
    return 0;
}

} // namespace mycad::studio
