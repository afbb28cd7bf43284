#include "apps/studio/PageCommands.h"

#include "apps/studio/StudioWindow.h"
#include "cad/io/Printing.h"
#include "cad/io/VectorExport.h"
#include "platform/Messages.h"
#include "platform/Printer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include <array>
#include <functional>

namespace mycad::studio {

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

// The printer starts on paper of the drawing's page.
void SetPaperOfDrawing(QPrinter& printer, TMyCAD& cad)
{
    const TPaperSize paper = PaperOf(cad);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QSizeF(paper.WidthMm, paper.HeightMm), QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF()));
}

// Asks for a file and writes the drawing with write; reports the outcome.
void ExportVector(TStudioWindow& window, const QString& extension, const QString& filter,
                  bool (*write)(TMyCAD&, const String&))
{
    const QString current = window.FileName();
    const QFileInfo base(current.isEmpty() ? QDir::home().filePath(S("Untitled.zed")) : current);
    QString file = window.AskSaveFileName(S("Export picture"),
                                          base.dir().filePath(base.completeBaseName() + u'.' + extension), filter);
    if (file.isEmpty()) return;
    if (QFileInfo(file).suffix().isEmpty()) file += u'.' + extension;
    if (!write(window.Cad(), file)) {
        ShowMessage(S("%1: the picture could not be written.").arg(file));
        return;
    }
    window.statusBar()->showMessage(S("Exported %1").arg(QDir::toNativeSeparators(file)), 4000);
}

// The layers to print, chosen in a tab of the print dialog.
class TLayerChoice : public QWidget {
public:
    explicit TLayerChoice(TMyCAD& cad)
    {
        setWindowTitle(S("Layers"));
        auto* layout = new QVBoxLayout(this);
        list_ = new QListWidget(this);
        list_->setObjectName(S("printLayers"));
        for (int32_t n = 0; n < cad.GetLayersCount(); ++n) {
            const int32_t id = cad.GetLayerIdByNo(n);
            auto* item = new QListWidgetItem(cad.GetLayerNameByID(id), list_);
            item->setData(Qt::UserRole, id);
            item->setCheckState(Qt::Checked);
        }
        layout->addWidget(list_);
    }
    /// Empty when every layer is checked.
    std::vector<int32_t> Chosen() const
    {
        std::vector<int32_t> ids;
        bool all = true;
        for (int i = 0; i < list_->count(); ++i) {
            if (list_->item(i)->checkState() == Qt::Checked) {
                ids.push_back(list_->item(i)->data(Qt::UserRole).toInt());
            } else {
                all = false;
            }
        }
        if (all) ids.clear();
        return ids;
    }
    bool NoneChosen() const { return Chosen().empty() && list_->count() > 0 && !AllChecked(); }

private:
    bool AllChecked() const
    {
        for (int i = 0; i < list_->count(); ++i) {
            if (list_->item(i)->checkState() != Qt::Checked) return false;
        }
        return true;
    }
    QListWidget* list_ = nullptr;
};

void PrintPreview(TStudioWindow& window)
{
    QPrinter printer(QPrinter::HighResolution);
    SetPaperOfDrawing(printer, window.Cad());
    QPrintPreviewDialog dialog(&printer, &window);
    dialog.setObjectName(S("printPreviewDialog"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &window, [&window](QPrinter* p) {
        PrintDrawing(window.Cad(), *p, TPrintRange::AllLayers, {});
    });
    dialog.exec();
}

void PrintWithDialog(TStudioWindow& window)
{
    TMyCAD& cad = window.Cad();
    QPrinter printer(QPrinter::HighResolution);
    SetPaperOfDrawing(printer, cad);
    QPrintDialog dialog(&printer, &window);
    dialog.setObjectName(S("printDialog"));
    auto* layers = new TLayerChoice(cad);
    dialog.setOptionTabs({layers});
    if (cad.GetSelectedShapesCount() > 0) dialog.setOption(QAbstractPrintDialog::PrintSelection);
    if (dialog.exec() != QDialog::Accepted) return;
    if (layers->NoneChosen()) {
        ShowMessage(S("No layer is chosen: nothing to print."));
        return;
    }
    const std::vector<int32_t> ids = layers->Chosen();
    const TPrintRange range = dialog.printRange() == QAbstractPrintDialog::Selection ? TPrintRange::Selection
                              : ids.empty()                                          ? TPrintRange::AllLayers
                                                                                     : TPrintRange::ChosenLayers;
    if (!PrintDrawing(cad, printer, range, ids)) ShowMessage(S("The printer could not start printing."));
}

} // namespace

bool PrintDrawing(TMyCAD& cad, QPrinter& printer, TPrintRange range, const std::vector<int32_t>& layerIds)
{
    TPrinter target(&printer);
    // The job starts here so that the paper stays the one chosen in the dialog.
    if (!target.BeginDoc()) return false;
    const bool printed = range == TPrintRange::Selection
                             ? PrintSelectedShapes(cad, 1.0, target)
                             : Print(cad, range == TPrintRange::ChosenLayers ? layerIds : TLayerIds{}, 1.0, target);
    target.EndDoc();
    return printed;
}

// ---------------------------------------------------------------- page setup

struct TPageSetupDialog::TWidgets {
    QComboBox* size = nullptr;
    QSpinBox* width = nullptr;
    QSpinBox* height = nullptr;
    QComboBox* orientation = nullptr;
    struct Line {
        QLineEdit* text = nullptr;
        QFontComboBox* font = nullptr;
        QSpinBox* points = nullptr;
        QComboBox* alignment = nullptr;
        QSpinBox* distance = nullptr;
    } head, foot;
    QGroupBox* border = nullptr;
    std::array<QSpinBox*, 4> borderDistances{};
    QCheckBox* background = nullptr;
};

namespace {

QSpinBox* Spin(QWidget* parent, int low, int high, int value, const QString& suffix, const QString& name)
{
    auto* s = new QSpinBox(parent);
    s->setRange(low, high);
    s->setValue(value);
    s->setSuffix(suffix);
    s->setObjectName(name);
    return s;
}

QComboBox* AlignmentBox(QWidget* parent, TAlignment value, const QString& name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItem(S("Left"), int(TAlignment::taLeftJustify));
    box->addItem(S("Centre"), int(TAlignment::taCenter));
    box->addItem(S("Right"), int(TAlignment::taRightJustify));
    box->setCurrentIndex(box->findData(int(value)));
    return box;
}

} // namespace

TPageSetupDialog::TPageSetupDialog(TMyCAD& cad, QWidget* parent)
    : QDialog(parent), cad_(cad), w_(std::make_shared<TWidgets>())
{
    setObjectName(S("pageSetupDialog"));
    setWindowTitle(S("Page Setup"));
    auto* layout = new QVBoxLayout(this);

    auto* paper = new QGroupBox(S("Paper"), this);
    auto* paperForm = new QFormLayout(paper);
    w_->size = new QComboBox(paper);
    w_->size->setObjectName(S("pageSize"));
    const char* names[] = {"A0", "A1", "A2", "A3", "A4", "A5", "B3", "B4", "B5", "Custom"};
    for (int i = 0; i <= int(TPageStyle::CustomerPage); ++i) w_->size->addItem(S(names[i]), i);
    w_->size->setCurrentIndex(int(cad.PageStyle()));
    w_->width = Spin(paper, 10, 5000, int(cad.PageWidth()), S(" mm"), S("pageWidth"));
    w_->height = Spin(paper, 10, 5000, int(cad.PageHeight()), S(" mm"), S("pageHeight"));
    w_->orientation = new QComboBox(paper);
    w_->orientation->setObjectName(S("pageOrientation"));
    w_->orientation->addItems({S("Portrait"), S("Landscape")});
    w_->orientation->setCurrentIndex(int(cad.PageOrientation()));
    paperForm->addRow(S("&Size:"), w_->size);
    paperForm->addRow(S("&Width:"), w_->width);
    paperForm->addRow(S("&Height:"), w_->height);
    paperForm->addRow(S("&Orientation:"), w_->orientation);
    auto customOnly = [this] {
        const bool custom = w_->size->currentData().toInt() == int(TPageStyle::CustomerPage);
        w_->width->setEnabled(custom);
        w_->height->setEnabled(custom);
    };
    connect(w_->size, &QComboBox::currentIndexChanged, this, customOnly);
    customOnly();
    layout->addWidget(paper);

    auto line = [this](const QString& title, const QString& prefix, TWidgets::Line& l, const String& text,
                       const TFont& font, TAlignment alignment, int distance) {
        auto* box = new QGroupBox(title, this);
        auto* form = new QFormLayout(box);
        l.text = new QLineEdit(text, box);
        l.text->setObjectName(prefix + S("Text"));
        l.font = new QFontComboBox(box);
        l.font->setObjectName(prefix + S("Font"));
        l.font->setCurrentFont(QFont(font.Name()));
        l.points = Spin(box, 4, 144, font.Size(), S(" pt"), prefix + S("Points"));
        l.alignment = AlignmentBox(box, alignment, prefix + S("Alignment"));
        l.distance = Spin(box, 0, 255, distance, S(" px"), prefix + S("Distance"));
        form->addRow(S("&Text:"), l.text);
        form->addRow(S("&Font:"), l.font);
        form->addRow(S("Si&ze:"), l.points);
        form->addRow(S("&Alignment:"), l.alignment);
        form->addRow(S("&Distance from the edge:"), l.distance);
        return box;
    };
    layout->addWidget(line(S("Page head"), S("head"), w_->head, cad.PageHead(), cad.PageHeadFont(),
                           cad.PageHeadAlignment(), cad.PageHeadToTop()));
    layout->addWidget(line(S("Page foot"), S("foot"), w_->foot, cad.PageFoot(), cad.PageFootFont(),
                           cad.PageFootAlignment(), cad.PageFootToBottom()));

    w_->border = new QGroupBox(S("Print a &border"), this);
    w_->border->setObjectName(S("pageBorder"));
    w_->border->setCheckable(true);
    w_->border->setChecked(cad.PrintABorder());
    auto* borderForm = new QFormLayout(w_->border);
    const std::array<int, 4> distances = {cad.PrintABordertoLeft(), cad.PrintABordertoTop(),
                                          cad.PrintABordertoRight(), cad.PrintABordertoBottom()};
    const char* sides[] = {"Left", "Top", "Right", "Bottom"};
    for (size_t i = 0; i < 4; ++i) {
        w_->borderDistances[i] = Spin(w_->border, 0, 255, distances[i], S(" px"), S("border") + S(sides[i]));
        borderForm->addRow(S(sides[i]) + u':', w_->borderDistances[i]);
    }
    layout->addWidget(w_->border);

    w_->background = new QCheckBox(S("Print the background &colour"), this);
    w_->background->setObjectName(S("pageBackground"));
    w_->background->setChecked(cad.PrintBackground());
    layout->addWidget(w_->background);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TPageSetupDialog::Apply()
{
    TMyCAD& cad = cad_;
    const auto style = static_cast<TPageStyle>(w_->size->currentData().toInt());
    cad.SetPageOrientation(static_cast<TPageOrientation>(w_->orientation->currentIndex()));
    cad.SetPageStyle(style);
    if (style == TPageStyle::CustomerPage) {
        cad.SetPageWidth(uint32_t(w_->width->value()));
        cad.SetPageHeight(uint32_t(w_->height->value()));
        // A custom page does not size the control by itself.
        const TSize pixels = cad.PagePixels(cad.Zoom());
        cad.SetWidth(pixels.cx);
        cad.SetHeight(pixels.cy);
    }
    auto apply = [](const TWidgets::Line& l, auto setText, auto setFont, auto setAlignment, auto setDistance,
                    const TFont& current) {
        setText(l.text->text());
        TFont font;
        font.Assign(current);
        font.SetName(l.font->currentFont().family());
        font.SetSize(l.points->value());
        setFont(font);
        setAlignment(static_cast<TAlignment>(l.alignment->currentData().toInt()));
        setDistance(static_cast<uint8_t>(l.distance->value()));
    };
    apply(
        w_->head, [&](const String& t) { cad.SetPageHead(t); }, [&](const TFont& f) { cad.SetPageHeadFont(f); },
        [&](TAlignment a) { cad.SetPageHeadAlignment(a); }, [&](uint8_t d) { cad.SetPageHeadToTop(d); },
        cad.PageHeadFont());
    apply(
        w_->foot, [&](const String& t) { cad.SetPageFoot(t); }, [&](const TFont& f) { cad.SetPageFootFont(f); },
        [&](TAlignment a) { cad.SetPageFootAlignment(a); }, [&](uint8_t d) { cad.SetPageFootToBottom(d); },
        cad.PageFootFont());
    cad.SetPrintABorder(w_->border->isChecked());
    cad.SetPrintABordertoLeft(static_cast<uint8_t>(w_->borderDistances[0]->value()));
    cad.SetPrintABordertoTop(static_cast<uint8_t>(w_->borderDistances[1]->value()));
    cad.SetPrintABordertoRight(static_cast<uint8_t>(w_->borderDistances[2]->value()));
    cad.SetPrintABordertoBottom(static_cast<uint8_t>(w_->borderDistances[3]->value()));
    cad.SetPrintBackground(w_->background->isChecked());
    cad.Invalidate();
}

// ---------------------------------------------------------------- menus

void AddPageCommands(TStudioWindow& window, QMenu* file, QMenu* edit)
{
    QAction* quit = window.Action(S("fileQuit"));
    auto add = [&](QMenu* menu, const char* name, const char* text, const QKeySequence& key, const char* tip,
                   std::function<void()> run) {
        auto* a = new QAction(S(text), &window);
        a->setObjectName(S(name));
        a->setShortcut(key);
        a->setStatusTip(S(tip));
        QObject::connect(a, &QAction::triggered, &window, std::move(run));
        if (menu == file && quit) {
            menu->insertAction(quit, a);
        } else {
            menu->addAction(a);
        }
        return a;
    };
    add(file, "fileExportSvg", "Export as S&VG\u2026", QKeySequence(), "Write the page as an SVG vector picture",
        [&window] { ExportVector(window, S("svg"), S("SVG pictures (*.svg)"), &SaveToSvg); });
    add(file, "fileExportPdf", "Export as P&DF\u2026", QKeySequence(), "Write the page as a PDF document",
        [&window] { ExportVector(window, S("pdf"), S("PDF documents (*.pdf)"), &SaveToPdf); });
    add(file, "fileExportWmf", "Export as &WMF\u2026", QKeySequence(), "Write the shapes as a Windows metafile",
        [&window] { ExportVector(window, S("wmf"), S("Windows metafiles (*.wmf)"), &SaveToWmf); });
    if (quit) file->insertSeparator(quit);
    add(file, "filePageSetup", "Page Set&up\u2026", QKeySequence(), "Paper, head and foot, border and background",
        [&window] {
            TPageSetupDialog dialog(window.Cad(), &window);
            if (dialog.exec() == QDialog::Accepted) {
                dialog.Apply();
                window.MarkChanged();
                window.SyncUi();
            }
        });
    add(file, "filePrintPreview", "Print Pre&view\u2026", QKeySequence(), "See the page as it will print",
        [&window] { PrintPreview(window); });
    add(file, "filePrint", "&Print\u2026", QKeySequence::Print, "Print all layers, chosen layers or the selection",
        [&window] { PrintWithDialog(window); });
    if (quit) file->insertSeparator(quit);
    edit->addSeparator();
    add(edit, "editCopyPicture", "Copy as &Picture", QKeySequence(S("Ctrl+Shift+C")),
        "Put the selected shapes on the clipboard as a metafile, SVG and PNG", [&window] {
            if (!CopyToClipBoardAsWmf(window.Cad())) {
                window.statusBar()->showMessage(S("Select the shapes to copy first."), 4000);
                return;
            }
            window.statusBar()->showMessage(S("Copied the selection as a picture"), 4000);
        });
}

} // namespace mycad::studio
