// The SuperText dialogs and the labels' 3D effects driven through their real controls:
// live preview, copy back on Ok (one change record for undo), Cancel, the empty-text
// message, the refit timer on a simulated clock, the texture browser and the symbol
// selector with and without symbol fonts.
#include "imaging/bmp_writer.h"
#include "imaging/picture_loader.h"
#include "objects/font_3d_effects.h"
#include "objects/p_label.h"
#include "special/super_text_properties.h"
#include "special/super_text_symbol.h"
#include "special/super_text_texture_browser.h"
#include "super_text_test_support.h"
#include "platform/help_request.h"
#include "test_registry.h"
#include "test_support.h"
#include "widgets/dialog_help.h"
#include "widgets/color_button.h"
#include "widgets/color_combo.h"
#include "widgets/spin_button.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

namespace {
template <class D>
void answer(ScriptedPrompter& prompts, const QString& button, std::function<void(D&)> use)
{
    prompts.dialogAnswers.push_back([button, use](QDialog& d) {
        d.show();
        if (!QTest::qWaitForWindowExposed(&d))
            return int(QDialog::Rejected);
        use(static_cast<D&>(d));
        if (QPushButton* b = d.findChild<QPushButton*>(button); b && d.isVisible())
            QTest::mouseClick(b, Qt::LeftButton);
        return d.result();
    });
}

struct RecordSpy {
    int count = 0;
    QByteArray before, after;
    RecordSpy(TGBasePanel& panel)
    {
        QObject::connect(&panel, &TGBasePanel::objectRecordChanged,
                         [this](const QString&, const QByteArray& b, const QByteArray& a) {
                             ++count;
                             before = b;
                             after = a;
                         });
    }
};

QByteArray bmpOf(QColor c)
{
    QImage img(6, 6, QImage::Format_RGB32);
    img.fill(c);
    return EncodeBmp(img);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QList<TInstalledFont> someFonts()
{
    return {{QStringLiteral("Liberation Sans"), true, false},
            {QStringLiteral("Wingdings"), true, true},
            {QStringLiteral("Symbola"), true, true},
            {QStringLiteral("Bitmap Symbols"), false, true}};
}
} // namespace

class TestSuperTextDialogs : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setInstalledFontSource({}); }

    void okCopiesThePreviewBackAsOneChange()
    {
        ovtest::SuperTextHost f;
        TGSuperText* t = f.superText(QRect(30, 40, 200, 90));
        const QByteArray original = t->Record();
        RecordSpy spy(*f.panel);
        bool seen = false;
        answer<TSuperTextProperties>(*f.prompts, QStringLiteral("OKButton"), [&](TSuperTextProperties& d) {
            seen = true;
            QCOMPARE(d.CaptionText->text(), QStringLiteral("Text"));
            QCOMPARE(d.SurfaceTypeCombo->currentText(), QStringLiteral("Gradient Fill"));
            QVERIFY(d.FillPanel->isVisible() && !d.ImagePanel->isVisible() && !d.FontcolorPanel->isVisible());
            QCOMPARE(d.Preview->width(), 200);
            d.CaptionText->setText(QStringLiteral("Happy"));
            d.SurfaceTypeCombo->setCurrentIndex(int(TSurfaceType::stNormal));
            QVERIFY(d.FontcolorPanel->isVisible() && !d.FillPanel->isVisible());
            d.FontColorButton->pickColor(clRed);
            d.ShadowColorButton->pickColor(clBlue);
            d.ShadowOrientationCombo->setCurrentIndex(int(TShadowOrientation::sdLeft));
            d.ShadowDepthSpinner->setValue(6);
            d.OutlineStyleCombo->setCurrentIndex(int(TPenStyle::psDot));
            d.OutLineWidthSpinner->setValue(2);
            d.OutlineColorButton->pickColor(0x00FF00);
            // The preview shows it all; the object waits for Ok.
            QCOMPARE(d.Preview->Caption(), QStringLiteral("Happy"));
            QCOMPARE(d.Preview->Font().Color, clRed);
            QCOMPARE(t->Record(), original);
        });
        t->MenuItem(QStringLiteral("Properties"))->trigger();
        QVERIFY(seen);
        QCOMPARE(t->Caption(), QStringLiteral("Happy"));
        QCOMPARE(t->SurfaceType(), TSurfaceType::stNormal);
        QCOMPARE(t->Font().Color, clRed);
        QCOMPARE(t->Shadowcolor(), clBlue);
        QCOMPARE(t->ShadowOrientation(), TShadowOrientation::sdLeft);
        QCOMPARE(t->ShadowDepth(), 6);
        QCOMPARE(t->OutlineStyle(), TPenStyle::psDot);
        QCOMPARE(t->OutlineWidth(), 2);
        QCOMPARE(t->OutlineColor(), TColor(0x00FF00));
        QCOMPARE(t->pos(), QPoint(30, 40));
        QCOMPARE(spy.count, 1);
        QCOMPARE(spy.before, original);
        QCOMPARE(spy.after, t->Record());
    }

    void cancelAndEmptyTextLeaveTheObjectAlone()
    {
        ovtest::SuperTextHost f;
        TGSuperText* t = f.superText(QRect(30, 40, 200, 90));
        const QByteArray original = t->Record();
        RecordSpy spy(*f.panel);
        bool stayedOpen = false;
        answer<TSuperTextProperties>(*f.prompts, QStringLiteral("Cancelbutton"), [&](TSuperTextProperties& d) {
            d.CaptionText->clear();
            d.SurfaceTypeCombo->setCurrentIndex(int(TSurfaceType::stBrushTransparent));
            QTest::mouseClick(d.OKButton, Qt::LeftButton);
            stayedOpen = d.isVisible() && d.result() != QDialog::Accepted;
            QVERIFY(d.CaptionText->hasFocus() || QApplication::focusWidget() == d.CaptionText);
        });
        t->MenuItem(QStringLiteral("Properties"))->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(f.prompts->texts(QStringLiteral("information")), QStringList{QStringLiteral("Please enter some text")});
        QCOMPARE(t->Record(), original);
        QCOMPARE(spy.count, 0);
    }

    void refitTimerRunsAtMostFiveTimesASecondAndAfterTheLastKey()
    {
        ovtest::SuperTextHost f;
        TSuperTextProperties d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.Timer1->interval(), 200);
        QVERIFY(d.Timer1->isActive());
        d.Timer1->stop(); // the simulated clock below runs the ticks
        d.CaptionText->clear();
        d.Timer1Timer();
        d.Timer1->stop();
        d.PreviewRefits = 0;
        // Ten keys within one second (one every 90 ms), then a pause; the timer ticks every
        // 200 ms of the simulated clock.
        int refitsAfterLastKey = 0;
        QString typed;
        for (int ms = 0; ms <= 2000; ms += 10) {
            if (ms % 90 == 0 && typed.size() < 10) {
                typed += QLatin1Char('a' + typed.size());
                QTest::keyClick(d.CaptionText, typed.back().toLatin1());
            }
            if (ms > 0 && ms % 200 == 0) {
                const int before = d.PreviewRefits;
                d.Timer1Timer();
                if (typed.size() == 10 && d.PreviewRefits > before && ms > 9 * 90)
                    ++refitsAfterLastKey;
            }
        }
        QCOMPARE(d.CaptionText->text(), QStringLiteral("abcdefghij"));
        QCOMPARE(d.Preview->Caption(), QStringLiteral("abcdefghij"));
        QVERIFY(d.PreviewRefits <= 5);
        QCOMPARE(refitsAfterLastKey, 1);
        QVERIFY(d.Timer1->isActive()); // each tick starts it again
        // The refit took the new text: the preview holds it.
        QVERIFY(d.Preview->width() >= QFontMetrics(d.Preview->ZoomedFont()).horizontalAdvance(typed));
    }

    void fontSizeStepsAndTextureSurface()
    {
        ovtest::SuperTextHost f;
        TSuperTextProperties d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        TObjectFont font = d.Preview->Font();
        font.SetSize(149, 96);
        d.Preview->SetFont(font);
        for (int i = 0; i < 3; ++i)
            emit d.RapidChangeFontSize->upClick();
        QCOMPARE(d.Preview->Font().Size(96), 154);
        font.SetSize(11, 96);
        d.Preview->SetFont(font);
        for (int i = 0; i < 3; ++i)
            emit d.RapidChangeFontSize->downClick();
        QCOMPARE(d.Preview->Font().Size(96), 6);

        // "Texture" without a texture of its own gives the built-in one.
        d.SurfaceTypeCombo->setCurrentIndex(int(TSurfaceType::stBrushImage));
        QVERIFY(d.ImagePanel->isVisible());
        QCOMPARE(d.Preview->Image().image().size(), QSize(120, 84));
        QCOMPARE(d.Preview->Image().image().format(), QImage::Format_Indexed8);
        d.SurfaceTypeCombo->setCurrentIndex(int(TSurfaceType::stGradientFill));
        QVERIFY(d.Preview->Image().isEmpty());
        QVERIFY(!d.ImagePanel->isVisible() && d.FillPanel->isVisible());
    }

    void textureBrowserKeepsTheTextureWhenAFileCannotBeRead()
    {
        ovtest::SuperTextHost f;
        const QString folder = f.dir.filePath(QStringLiteral("tex"));
        QDir().mkpath(folder);
        writeFile(folder + QStringLiteral("/Green.bmp"), bmpOf(Qt::green));
        writeFile(folder + QStringLiteral("/Broken.BMP"), QByteArray("BM this is not a bitmap"));
        writeFile(folder + QStringLiteral("/notes.txt"), QByteArray("no picture"));
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        icon.setPixelColor(3, 3, Qt::red);
        icon.save(folder + QStringLiteral("/Dot.ico"), "ICO");

        TSuperTextBrushImageBrowser browser(QString(), nullptr);
        browser.OpenFolder(folder);
        QStringList files;
        for (int i = 0; i < browser.FileList->count(); ++i)
            files << browser.FileList->item(i)->text();
        QCOMPARE(files, (QStringList{QStringLiteral("Broken.BMP"), QStringLiteral("Dot.ico"), QStringLiteral("Green.bmp")}));

        browser.SelectFile(QStringLiteral("Green.bmp"));
        QCOMPARE(browser.SuperTextExample->Image().image().pixelColor(2, 2), QColor(Qt::green));
        browser.SelectFile(QStringLiteral("Broken.BMP"));
        QCOMPARE(f.prompts->texts(QStringLiteral("error")), QStringList{QStringLiteral("Error loading file!")});
        QCOMPARE(browser.SuperTextExample->Image().image().pixelColor(2, 2), QColor(Qt::green));
        QCOMPARE(browser.ChosenFileName(), QDir(folder).absoluteFilePath(QStringLiteral("Green.bmp")));
        // An icon is shown on white.
        browser.SelectFile(QStringLiteral("Dot.ico"));
        QCOMPARE(browser.SuperTextExample->Image().image().pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(browser.SuperTextExample->Image().image().pixelColor(3, 3), QColor(Qt::red));
    }

    void loadTextureTakesTheBrowsersChoiceOnOk()
    {
        ovtest::SuperTextHost f;
        const QString green = f.dir.filePath(QStringLiteral("Green.bmp"));
        writeFile(green, bmpOf(Qt::green));
        TSuperTextProperties d;
        d.TexturePath = green; // the browser opens on it and loads it
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.SurfaceTypeCombo->setCurrentIndex(int(TSurfaceType::stBrushImage));
        answer<TSuperTextBrushImageBrowser>(*f.prompts, QStringLiteral("CancelButton"), [](auto&) {});
        d.LoadImageButtonClick();
        QCOMPARE(d.Preview->Image().image().size(), QSize(120, 84)); // Cancel changed nothing
        answer<TSuperTextBrushImageBrowser>(*f.prompts, QStringLiteral("OKButton"), [](auto& b) {
            // It opens on the file last chosen, showing the current texture until clicked.
            QCOMPARE(b.FileList->currentItem()->text(), QStringLiteral("Green.bmp"));
            QCOMPARE(b.SuperTextExample->Image().image().size(), QSize(120, 84));
            QTest::mouseClick(b.FileList->viewport(), Qt::LeftButton, {},
                              b.FileList->visualItemRect(b.FileList->currentItem()).center());
        });
        d.LoadImageButtonClick();
        QCOMPARE(d.Preview->Image().image().pixelColor(1, 1), QColor(Qt::green));
        QCOMPARE(d.TexturePath, QFileInfo(green).absoluteFilePath());
        // Gradient and back brings the chosen texture again.
        d.SurfaceTypeCombo->setCurrentIndex(int(TSurfaceType::stGradientFill));
        d.SurfaceTypeCombo->setCurrentIndex(int(TSurfaceType::stBrushImage));
        QCOMPARE(d.Preview->Image().image().pixelColor(1, 1), QColor(Qt::green));
    }

    void symbolSelectorListsSymbolFontsAndReplacesTheText()
    {
        ovtest::SuperTextHost f;
        setInstalledFontSource(someFonts);
        TSuperTextProperties d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.CaptionText->setText(QStringLiteral("Several words"));
        answer<TSuperTextGetSymbol>(*f.prompts, QStringLiteral("OKButton"), [](TSuperTextGetSymbol& s) {
            QStringList sets;
            for (int i = 0; i < s.SymbolSets->count(); ++i)
                sets << s.SymbolSets->itemText(i);
            QCOMPARE(sets, (QStringList{QStringLiteral("Symbola"), QStringLiteral("Wingdings")}));
            QCOMPARE(s.SymbolSets->currentText(), QStringLiteral("Wingdings"));
            QCOMPARE(s.SymbolList->columnCount(), 15);
            QCOMPARE(s.SymbolList->item(0, 0)->text(), QStringLiteral(" "));
            QCOMPARE(s.SymbolList->item(14, 13)->text(), QString(QChar(0xFF))); // code 255, the last
            QCOMPARE(s.SymbolList->font().pixelSize(), 24);
            s.SymbolSets->setCurrentIndex(0);
            QCOMPARE(s.SymbolList->font().family(), QStringLiteral("Symbola"));
            QTest::mouseClick(s.SymbolList->viewport(), Qt::LeftButton, {},
                              s.SymbolList->visualItemRect(s.SymbolList->item(2, 3)).center()); // code 65
        });
        d.SelectSymbolbuttonClick();
        QCOMPARE(d.CaptionText->text(), QStringLiteral("A"));
        QCOMPARE(d.Preview->Caption(), QStringLiteral("A"));
        QCOMPARE(d.Preview->Font().Name, QStringLiteral("Symbola"));
        QCOMPARE(d.CaptionText->font().family(), QStringLiteral("Symbola"));

        // Without any symbol font: the message, and the text stays.
        setInstalledFontSource([] { return QList<TInstalledFont>{{QStringLiteral("Liberation Sans"), true, false}}; });
        d.SelectSymbolbuttonClick();
        QCOMPARE(f.prompts->texts(QStringLiteral("information")), QStringList{QStringLiteral("No Symbol fonts installed")});
        QCOMPARE(d.CaptionText->text(), QStringLiteral("A"));
    }

    void everyDialogGivesItsControlsHelpAndOpensItsTopic()
    {
        ovtest::SuperTextHost f;
        setInstalledFontSource(someFonts);
        setProgramFolderOverride(ovtest::sourceDir() + QStringLiteral("/assets"));
        reloadWhatsThisTexts();
        TGPLabel label;
        TSuperTextProperties properties;
        TSuperTextBrushImageBrowser browser(QString(), nullptr);
        TSuperTextGetSymbol symbol;
        TGFont3DEffects effects(label);
        const std::pair<QDialog*, QStringList> dialogs[] = {
            {&properties,
             {"CaptionText", "SurfaceTypeCombo", "FillDirectionCombo", "GradientFromcolorButton", "GradientToColorButton",
              "FontColorButton", "LoadImageButton", "ShadowColorButton", "ShadowOrientationCombo", "ShadowDepthSpinner",
              "OutlineColorButton", "OutlineStyleCombo", "OutLineWidthSpinner", "Fontbutton", "RapidChangeFontSize",
              "SelectSymbolbutton", "OKButton", "Cancelbutton", "Helpbutton"}},
            {&browser, {"DriveList", "DirectoryList", "FileList", "SuperTextExample"}},
            {&symbol, {"SymbolSets", "SymbolList"}},
            {&effects,
             {"Sample", "ShadowDirection", "ShadowDepth", "ShadowColorCombo", "HighlightDirection", "HighLightDepth",
              "HighLightColorCombo", "FontColorCombo"}}};
        QList<int> topics;
        const HelpHandler previous = setHelpHandler([&](int t) { topics << t; });
        for (const auto& [dialog, names] : dialogs) {
            for (const QString& name : names) {
                auto* w = dialog->findChild<QWidget*>(name);
                QVERIFY2(w && !w->whatsThis().isEmpty(), qPrintable(name));
            }
            auto* help = dialog->findChild<QPushButton*>(QStringLiteral("HelpButton"));
            if (!help)
                help = dialog->findChild<QPushButton*>(QStringLiteral("Helpbutton"));
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QTest::mouseClick(help, Qt::LeftButton);
            dialog->hide();
        }
        setHelpHandler(previous);
        setProgramFolderOverride(QString());
        reloadWhatsThisTexts();
        QCOMPARE(topics, (QList<int>{40014, 40012, 50011, 40008}));
        QCOMPARE(properties.windowTitle(), QStringLiteral("SuperText Properties"));
        QCOMPARE(browser.windowTitle(), QStringLiteral("Load Texture Image"));
        QCOMPARE(symbol.windowTitle(), QStringLiteral("Symbol Selector"));
    }

    void threeDEffectsPreviewAndCopyBack()
    {
        ovtest::SuperTextHost f;
        RegisterObjectClass<TGPLabel>("TGPLabel", TGPLabel::Properties());
        auto* label = new TGPLabel(f.panel.get());
        label->setObjectName(f.panel->StreamObjectName());
        label->setGeometry(20, 20, 200, 40);
        label->AfterLoad();
        label->show();
        QCoreApplication::processEvents(); // the label fits itself to its text
        label->CalcLayout();
        const QByteArray original = label->Record();
        RecordSpy spy(*f.panel);
        answer<TGFont3DEffects>(*f.prompts, QStringLiteral("CancelButton"), [](TGFont3DEffects& d) {
            d.ShadowDepth->setCurrentIndex(5);
        });
        label->MenuItem(QStringLiteral("3D Effects"))->trigger();
        QCOMPARE(label->Record(), original);
        QCOMPARE(spy.count, 0);

        answer<TGFont3DEffects>(*f.prompts, QStringLiteral("OKButton"), [&](TGFont3DEffects& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Text 3D Effects"));
            QCOMPARE(d.Sample->Caption(), QStringLiteral("Text"));
            QCOMPARE(d.ShadowDirection->currentText(), QStringLiteral("Lower Right"));
            QCOMPARE(d.HighlightDirection->currentText(), QStringLiteral("Upper Left"));
            d.ShadowDirection->setCurrentIndex(int(TShadowDirection::sdLeft));
            d.ShadowDepth->setCurrentIndex(3);
            d.HighLightDepth->setCurrentIndex(2);
            d.HighlightDirection->setCurrentIndex(int(THighlightDirection::hdUp));
            QCOMPARE(d.Sample->DepthShadow(), 3);
            QCOMPARE(label->DepthShadow(), 0);
        });
        label->MenuItem(QStringLiteral("3D Effects"))->trigger();
        QCOMPARE(label->DepthShadow(), 3);
        QCOMPARE(label->DirectionShadow(), TShadowDirection::sdLeft);
        QCOMPARE(label->DepthHighlight(), 2);
        QCOMPARE(label->DirectionHighlight(), THighlightDirection::hdUp);
        QCOMPARE(spy.count, 1);
        QCOMPARE(spy.before, original);
        QCOMPARE(spy.after, label->Record());
    }
};

OV_TEST(TestSuperTextDialogs)
#include "test_super_text_dialogs.moc"
