// The Qt Designer plugin as Designer uses it (loaded from its file, each
// control created through it, properties set by name), and Designer's own
// editor core opening and saving a form made with the controls, which uic
// compiles too.
#include "ui_RulerFrame.h"
#include "cad/canvas/MyCAD.h"

#include <QFile>
#include <QFont>
#include <QPixmap>
#include <QFileInfo>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QXmlStreamReader>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

QList<QDesignerCustomWidgetInterface*> PluginWidgets(QPluginLoader& loader)
{
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    return collection ? collection->customWidgets() : QList<QDesignerCustomWidgetInterface*>();
}

// The widget box entry's name and the class it places, from domXml.
std::pair<QString, QString> DisplayAndClass(const QString& domXml)
{
    QXmlStreamReader xml(domXml);
    QString display;
    QString cls;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("ui")) {
            display = xml.attributes().value(QLatin1String("displayname")).toString();
            continue; // into the children
        }
        if (xml.name() == QLatin1String("widget") && cls.isEmpty()) cls = xml.attributes().value(QLatin1String("class")).toString();
        xml.skipCurrentElement();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return {display, cls};
}

TEST(DesignerPlugin, OffersTheThreeControlsWithEditableProperties)
{
    QPluginLoader loader(QStringLiteral(MYCAD_DESIGNER_PLUGIN));
    ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
    const auto widgets = PluginWidgets(loader);
    ASSERT_EQ(widgets.size(), 3);

    const std::map<QString, QString> expected = {{QStringLiteral("TMyCAD"), QStringLiteral("mycad::TMyCADWidget")},
                                                 {QStringLiteral("TRsRuler"), QStringLiteral("mycad::TRsRulerWidget")},
                                                 {QStringLiteral("TRsRulerCorner"), QStringLiteral("mycad::TRsRulerCornerWidget")}};
    QWidget parent;
    for (QDesignerCustomWidgetInterface* w : widgets) {
        const auto [display, cls] = DisplayAndClass(w->domXml());
        SCOPED_TRACE(display.toStdString());
        ASSERT_TRUE(expected.contains(display));
        EXPECT_EQ(cls, expected.at(display));
        EXPECT_EQ(w->name(), cls);
        EXPECT_EQ(w->group(), QStringLiteral("MyCAD"));
        EXPECT_TRUE(w->includeFile().startsWith(QLatin1String("<mycad/widgets/")));
        EXPECT_FALSE(w->icon().isNull());

        std::unique_ptr<QWidget> widget(w->createWidget(&parent));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(QString::fromLatin1(widget->metaObject()->className()), cls);

        // Every property of the control is one Designer edits and saves;
        // enumerations list their values (a drop-down), and each value
        // written by its name reads back.
        const QMetaObject* meta = widget->metaObject();
        int enums = 0;
        for (int i = QWidget::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
            const QMetaProperty p = meta->property(i);
            SCOPED_TRACE(p.name());
            EXPECT_TRUE(p.isWritable() && p.isDesignable() && p.isStored());
            EXPECT_TRUE(p.read(widget.get()).isValid());
            if (!p.isEnumType()) continue;
            ++enums;
            const QMetaEnum e = p.enumerator();
            ASSERT_GT(e.keyCount(), 1);
            for (int k = 0; k < e.keyCount(); ++k) {
                ASSERT_TRUE(widget->setProperty(p.name(), QString::fromLatin1(e.key(k))));
                EXPECT_EQ(p.read(widget.get()).toInt(), e.value(k)) << e.key(k);
            }
        }
        EXPECT_GT(enums, 0);
    }

    // Properties reach the controls: a ruler turned to the left side stands
    // upright, the canvas sizes itself by its zoom.
    QWidget* ruler = widgets[1]->createWidget(&parent);
    ASSERT_EQ(ruler->size(), QSize(200, 33));
    ruler->setProperty("Direction", QStringLiteral("rdLeft"));
    EXPECT_EQ(ruler->size(), QSize(33, 200));
    QWidget* canvas = widgets[0]->createWidget(&parent);
    const int width = canvas->width();
    canvas->setProperty("Zoom", 2.0);
    EXPECT_NEAR(canvas->width(), 2 * width, 1);

    // The pen, brush, fonts, grid and background new shapes and pages take
    // are the canvas's own objects, set through their properties.
    auto* cad = dynamic_cast<mycad::TMyCAD*>(canvas);
    ASSERT_NE(cad, nullptr);
    canvas->setProperty("PenColor", QColor(255, 0, 0));
    canvas->setProperty("PenWidth", 3);
    canvas->setProperty("BrushColor", QColor(0, 0, 255));
    EXPECT_EQ(cad->Pen().Color(), mycad::RGB(255, 0, 0));
    EXPECT_EQ(cad->Pen().Width(), 3);
    EXPECT_EQ(cad->Brush().Color(), mycad::RGB(0, 0, 255));
    QFont serif(QStringLiteral("DejaVu Serif"), 14);
    serif.setBold(true);
    canvas->setProperty("Font", serif);
    EXPECT_EQ(cad->Font().Name(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(cad->Font().Size(), 14);
    EXPECT_TRUE(cad->Font().Style().Contains(mycad::TFontStyle::fsBold));
    EXPECT_EQ(canvas->property("Font").value<QFont>(), serif);
    canvas->setProperty("GridInZoom", true);
    canvas->setProperty("GridWidth", 25.0);
    EXPECT_TRUE(cad->GridOperation().GridInZoom());
    EXPECT_EQ(cad->GridOperation().GridWidth(), 25.0);
    canvas->setProperty("BkBitmap", QPixmap(8, 4));
    EXPECT_EQ(cad->BkBitmap().Width(), 8);
    EXPECT_EQ(cad->BkBitmap().Height(), 4);
}

TEST(DesignerPlugin, UicFormSetsTheControlsUp)
{
    QWidget frame;
    Ui::RulerFrame ui;
    ui.setupUi(&frame);
    EXPECT_EQ(ui.leftRuler->Direction(), mycad::TRulerDir::rdLeft);
    EXPECT_EQ(ui.corner->UnitText(), QStringLiteral("mm"));
    EXPECT_EQ(ui.myCAD->PageStyle(), mycad::TPageStyle::A5);
    EXPECT_DOUBLE_EQ(ui.myCAD->Zoom(), 0.5);
}

TEST(DesignerPlugin, DesignerEditsAndSavesTheFormsProperties)
{
    // Designer itself: its editor core with the plugin, a form opened in it,
    // the property sheet that feeds the property editor, and the form as
    // Designer saves it (which is what uic compiles).
    QCoreApplication::addLibraryPath(QFileInfo(QStringLiteral(MYCAD_DESIGNER_PLUGIN)).absolutePath() + "/..");
    QDesignerComponents::initializeResources();
    std::unique_ptr<QDesignerFormEditorInterface> core(QDesignerComponents::createFormEditor(nullptr));
    QDesignerComponents::initializePlugins(core.get());
    new QDesignerIntegration(core.get(), core.get());

    QFile file(QStringLiteral(MYCAD_SOURCE_DIR "/tests/designer/RulerFrame.ui"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::unique_ptr<QDesignerFormWindowInterface> form(core->formWindowManager()->createFormWindow(nullptr));
    QString error;
    ASSERT_TRUE(form->setContents(&file, &error)) << error.toStdString();

    QWidget* left = form->mainContainer()->findChild<QWidget*>(QStringLiteral("leftRuler"));
    ASSERT_NE(left, nullptr);
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(core->extensionManager(), left);
    ASSERT_NE(sheet, nullptr);
    const int direction = sheet->indexOf(QStringLiteral("Direction"));
    ASSERT_GE(direction, 0);
    // The property editor shows a drop-down for exactly this value type.
    EXPECT_STREQ(sheet->property(direction).typeName(), "qdesigner_internal::PropertySheetEnumValue");
    sheet->setProperty(sheet->indexOf(QStringLiteral("Scale")), 150);
    sheet->setChanged(sheet->indexOf(QStringLiteral("Scale")), true);

    const QString saved = form->contents();
    for (const char* line : {"<enum>mycad::TRsRulerWidget::rdLeft</enum>", "<enum>mycad::TRsRulerWidget::ruMilli</enum>",
                             "<enum>mycad::TMyCADWidget::A5</enum>", "<number>150</number>", "<string>Plan</string>",
                             "<double>0.500000000000000</double>"}) {
        EXPECT_TRUE(saved.contains(QLatin1String(line))) << line << "\n" << saved.toStdString();
    }
}

} // namespace
