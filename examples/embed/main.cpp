// A host window around the canvas: rulers along the top and the left, three
// drawing tools, the canvas's events in the status bar, Open and Save.
#include <mycad/cad/canvas/MyCAD.h>
#include <mycad/cad/io/DocumentFile.h>
#include <mycad/ruler/Ruler.h>
#include <mycad/ruler/RulerCorner.h>

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QMainWindow>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>

using namespace mycad;

class EmbedWindow : public QMainWindow {
public:
    EmbedWindow()
    {
        auto* area = new QWidget;
        auto* grid = new QGridLayout(area);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setSpacing(0);
        corner_ = new TRsRulerCorner;
        top_ = new TRsRuler;
        left_ = new TRsRuler;
        left_->SetDirection(TRulerDir::rdLeft);
        scroll_ = new QScrollArea;
        cad_ = new TMyCAD; // sizes itself to its page; the scroll area scrolls it
        scroll_->setWidget(cad_);
        corner_->setFixedSize(left_->Width(), top_->Height());
        top_->setFixedHeight(top_->Height());
        left_->setFixedWidth(left_->Width());
        for (TRsRuler* r : {top_, left_}) r->SetHairLine(true);
        grid->addWidget(corner_, 0, 0);
        grid->addWidget(top_, 0, 1);
        grid->addWidget(left_, 1, 0);
        grid->addWidget(scroll_, 1, 1);
        setCentralWidget(area);

        QToolBar* file = addToolBar(tr("File"));
        file->addAction(tr("Open..."), this, &EmbedWindow::Open);
        file->addAction(tr("Save..."), this, &EmbedWindow::Save);
        QToolBar* tools = addToolBar(tr("Tools"));
        tools->addAction(tr("Select"), this, [this] { cad_->SetShapeTool(TDrawTool::SpSelecting); });
        tools->addAction(tr("Rectangle"), this, [this] { cad_->SetShapeTool(TDrawTool::SpRectangle); });
        tools->addAction(tr("Line"), this, [this] { cad_->SetShapeTool(TDrawTool::SpLine); });

        // The canvas reports through plain callbacks.
        cad_->OnShapeAdded = [this](TMyShape*& shape, int32_t count) {
            Say(tr("Added %1; %2 shapes").arg(shape->Name()).arg(count));
        };
        cad_->OnShapeSelected = [this](TMyShape*, TMyShape* selected) {
            if (selected) Say(tr("Selected %1").arg(selected->Name()));
        };
        cad_->OnShapeDeleted = [this](TMyShape* shape) { Say(tr("Deleted %1").arg(shape->Name())); };
        cad_->OnMouseMove = [this](TMyCAD*, TShiftState, int32_t x, int32_t y) {
            top_->SetHairLinePos(x - scroll_->horizontalScrollBar()->value());
            left_->SetHairLinePos(y - scroll_->verticalScrollBar()->value());
        };
        // The rulers show where the visible part of the page starts.
        connect(scroll_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
                [this](int v) { top_->SetOffset(Centimetres(v)); });
        connect(scroll_->verticalScrollBar(), &QScrollBar::valueChanged, this,
                [this](int v) { left_->SetOffset(Centimetres(v)); });
        Say(tr("Pick a tool and draw on the page"));
        resize(900, 700);
    }

private:
    double Centimetres(int pixels) const { return pixels / cad_->Zoom() / logicalDpiX() * 2.54; }
    void Say(const QString& text) { statusBar()->showMessage(text, 4000); }

    void Open()
    {
        const QString name = QFileDialog::getOpenFileName(this, tr("Open"), {}, tr("Drawings (*.zed)"));
        if (!name.isEmpty() && !LoadFromFile(*cad_, name)) QMessageBox::warning(this, tr("Open"), tr("Cannot read %1").arg(name));
    }
    void Save()
    {
        const QString name = QFileDialog::getSaveFileName(this, tr("Save"), {}, tr("Drawings (*.zed)"));
        if (!name.isEmpty() && !SaveToFile(*cad_, name)) QMessageBox::warning(this, tr("Save"), tr("Cannot write %1").arg(name));
    }

    TMyCAD* cad_;
    TRsRuler* top_;
    TRsRuler* left_;
    TRsRulerCorner* corner_;
    QScrollArea* scroll_;
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    EmbedWindow window;
    window.show();
    return QApplication::exec();
}
