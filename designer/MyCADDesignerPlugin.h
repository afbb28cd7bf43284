// The Qt Designer plugin: one collection holding TMyCAD, TRsRuler and
// TRsRulerCorner for the "MyCAD" page of the widget box.
#pragma once

#include <QObject>
#include <QPainter>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <functional>
#include <memory>
#include <vector>

namespace mycad::designer {

/// What Designer needs to know about one control.
struct TWidgetEntry {
    QString ClassName;   // the C++ class uic creates
    QString DisplayName; // the name in the widget box
    QString Header;      // what a generated form includes, <...> for a global include
    QString ObjectName;  // the object name of a freshly placed control
    QString ToolTip;
    QString WhatsThis;
    std::function<QWidget*(QWidget*)> Create;
    std::function<void(QPainter&)> PaintIcon; // on 22 x 22 pixels
};

class TWidgetInterface : public QDesignerCustomWidgetInterface {
public:
    explicit TWidgetInterface(TWidgetEntry entry) : entry_(std::move(entry)) {}
    QString name() const override { return entry_.ClassName; }
    QString group() const override;
    QString toolTip() const override { return entry_.ToolTip; }
    QString whatsThis() const override { return entry_.WhatsThis; }
    QString includeFile() const override { return entry_.Header; }
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* parent) override { return entry_.Create(parent); }
    bool isInitialized() const override { return initialized_; }
    void initialize(QDesignerFormEditorInterface*) override { initialized_ = true; }
    QString domXml() const override;

private:
    TWidgetEntry entry_;
    bool initialized_ = false;
};

class TMyCADWidgets : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TMyCADWidgets(QObject* parent = nullptr);
    ~TMyCADWidgets() override;
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
    std::vector<std::unique_ptr<TWidgetInterface>> widgets_;
};

} // namespace mycad::designer
