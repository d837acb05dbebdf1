#include "widgets/explorerbutton.h"
#include "widgets/resources.h"

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace kelvari;
using Button = TExplorerButton;

Q_DECLARE_METATYPE(Button::TExplorerButtonShadingType)

namespace {

const QRgb kKey = qRgb(255, 0, 255);
const QColor kHighlight(250, 250, 250);
const QColor kShadow(100, 100, 100);

// A colour whose red, green and blue add up to `sum`.
QRgb colourOfSum(int sum) {
    const int red = qMin(sum, 255);
    const int green = qMin(sum - red, 255);
    return qRgb(red, green, sum - red - green);
}

// A picture on the magenta key: a dark square (s = 250) inside a light frame.
QImage picture() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(kKey);
    for (int y = 2; y < 14; ++y) {
        for (int x = 2; x < 14; ++x)
            image.setPixel(x, y, (x < 4 || y < 4) ? qRgb(240, 240, 240) : qRgb(50, 100, 100));
    }
    return image;
}

// A top-level window holding buttons, shown and active.
struct Window {
    QWidget widget;
    Window() {
        widget.resize(200, 200);
        widget.show();
        widget.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&widget); }
};

Button *addButton(Window &window, int top, const QString &caption = QString()) {
    auto *button = new Button(&window.widget);
    button->move(10, top);
    button->resize(45, 45);
    button->setCaption(caption);
    button->setBitmap(picture());
    button->show();
    return button;
}

void click(Button *button) {
    QTest::mouseMove(button, QPoint(20, 20));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 20));
}

} // namespace

class TestExplorerButton : public QObject {
    Q_OBJECT
private slots:
    void defaults() {
        const Button button;
        QCOMPARE(button.size(), QSize(50, 40));
        QCOMPARE(button.Alignment(), Button::taCenter);
        QCOMPARE(button.AllowAllUp(), false);
        QCOMPARE(button.BevelStyle(), Button::bsRaised);
        QVERIFY(button.Bitmap().isNull());
        QVERIFY(button.NoFocusBitmap().isNull());
        QVERIFY(button.DisabledBitmap().isNull());
        QCOMPARE(button.Caption(), QString());
        QCOMPARE(button.GroupIndex(), 0);
        QCOMPARE(button.Down(), false);
        QCOMPARE(button.DropDownMenu(), nullptr);
        QCOMPARE(button.isEnabled(), true);
        QCOMPARE(button.Layout(), Button::blBitmapTop);
        QCOMPARE(button.Options(), Button::boMonoDisplay | Button::boPopupMark);
        QCOMPARE(button.ShadingType(), Button::stMedium);
        QCOMPARE(button.ShowDownPattern(), true);
        QCOMPARE(button.UnselectedFontColor(), button.palette().color(QPalette::WindowText));
        QCOMPARE(button.WordWrap(), false);
        QCOMPARE(button.focusPolicy(), Qt::NoFocus);
    }

    // Each pixel falls on one side of each threshold: s above the limit is the
    // lighter colour, s at the limit the darker one.
    void greyThresholds_data() {
        QTest::addColumn<Button::TExplorerButtonShadingType>("shading");
        QTest::addColumn<int>("sum");
        QTest::addColumn<QRgb>("grey");
        const QRgb white = qRgb(255, 255, 255);
        const QRgb black = qRgb(0, 0, 0);
        const struct {
            const char *name;
            Button::TExplorerButtonShadingType type;
            int limits[3];
        } tables[] = {{"light", Button::stLight, {205, 127, 68}},
                      {"medium", Button::stMedium, {553, 231, 57}},
                      {"dark", Button::stDark, {335, 274, 175}}};
        for (const auto &table : tables) {
            const QRgb above[3] = {white, kHighlight.rgb(), kShadow.rgb()};
            const QRgb atLimit[3] = {kHighlight.rgb(), kShadow.rgb(), black};
            for (int i = 0; i < 3; ++i) {
                const int limit = table.limits[i];
                QTest::addRow("%s %d", table.name, limit + 1)
                    << table.type << limit + 1 << above[i];
                QTest::addRow("%s %d", table.name, limit) << table.type << limit << atLimit[i];
            }
            QTest::addRow("%s 765", table.name) << table.type << 765 << white;
            QTest::addRow("%s 0", table.name) << table.type << 0 << black;
        }
    }
    void greyThresholds() {
        QFETCH(Button::TExplorerButtonShadingType, shading);
        QFETCH(int, sum);
        QFETCH(QRgb, grey);
        QImage image(3, 1, QImage::Format_RGB32);
        image.setPixel(0, 0, kKey);
        image.setPixel(1, 0, colourOfSum(sum));
        image.setPixel(2, 0, kKey);
        const QImage out = Button::makeGreyImage(image, shading, kHighlight, kShadow);
        QCOMPARE(out.size(), image.size());
        QCOMPARE(out.pixel(1, 0), grey);
        // The transparent colour is that of the top-left pixel, wherever it occurs.
        QCOMPARE(qAlpha(out.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(out.pixel(2, 0)), 0);
    }

    // The key is whatever the top-left pixel holds, not a fixed colour.
    void greyKeyIsTopLeftPixel() {
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(qRgb(255, 255, 255));
        image.setPixel(0, 0, qRgb(0, 128, 128));
        image.setPixel(1, 1, qRgb(0, 128, 128));
        const QImage out = Button::makeGreyImage(image, Button::stMedium, kHighlight, kShadow);
        QCOMPARE(qAlpha(out.pixel(1, 1)), 0);
        QCOMPARE(out.pixel(1, 0), qRgb(255, 255, 255));
        QVERIFY(Button::makeGreyImage(QImage(), Button::stMedium, kHighlight, kShadow).isNull());
    }

    void greyImageFollowsInputs() {
        Button button;
        QVERIFY(button.greyImage().isNull());
        button.setBitmap(picture());
        const QImage medium = button.greyImage();
        QVERIFY(!medium.isNull());
        button.setShadingType(Button::stDark);
        QVERIFY(button.greyImage() != medium);
        // A picture of its own for the resting state replaces the grey one.
        button.setNoFocusBitmap(picture().mirrored());
        QVERIFY(button.greyImage().isNull());
        QCOMPARE(button.displayedImage(), picture().mirrored());
    }

    // Grey at rest, coloured under the mouse, grey again after the click.
    void hotAndClick() {
        Window window;
        QVERIFY(window.ready());
        Button *button = addButton(window, 10, QStringLiteral("新規"));
        QSignalSpy clicks(button, &Button::clicked);
        QCOMPARE(button->displayedImage(), button->greyImage());

        QTest::mouseMove(button, QPoint(20, 20));
        QTRY_VERIFY(button->isHot());
        QCOMPARE(button->displayedImage(), button->Bitmap());

        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(clicks.count(), 1);
        QVERIFY(!button->isHot());
        QVERIFY(!button->isPressed());
        QCOMPARE(button->displayedImage(), button->greyImage());

        QTest::mouseMove(&window.widget, QPoint(150, 150));
        QTest::mouseMove(button, QPoint(21, 21));
        QTRY_VERIFY(button->isHot());
        QTest::mouseMove(&window.widget, QPoint(150, 150));
        QTRY_VERIFY(!button->isHot());
        QCOMPARE(clicks.count(), 1);
    }

    // Dragging out before letting go is no click; dragging back in again is.
    void pressDragOutRelease() {
        Window window;
        QVERIFY(window.ready());
        Button *button = addButton(window, 10);
        QSignalSpy clicks(button, &Button::clicked);

        QTest::mouseMove(button, QPoint(20, 20));
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(button->isPressed());
        QVERIFY(button->isHot());
        QTest::mouseMove(button, QPoint(100, 20));
        QTRY_VERIFY(!button->isHot());
        QVERIFY(button->isPressed());
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(100, 20));
        QVERIFY(!button->isPressed());
        QCOMPARE(clicks.count(), 0);

        // Release outside without a move reported in between.
        QTest::mouseMove(button, QPoint(20, 20));
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, 20));
        QCOMPARE(clicks.count(), 0);

        QTest::mouseMove(button, QPoint(20, 20));
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(button, QPoint(100, 20));
        QTest::mouseMove(button, QPoint(22, 22));
        QTRY_VERIFY(button->isHot());
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(22, 22));
        QCOMPARE(clicks.count(), 1);
    }

    void disabledButtonIgnoresMouse() {
        Window window;
        QVERIFY(window.ready());
        Button *button = addButton(window, 10);
        QSignalSpy clicks(button, &Button::clicked);
        QImage disabled(8, 8, QImage::Format_RGB32);
        disabled.fill(Qt::gray);
        button->setDisabledBitmap(disabled);
        button->setEnabled(false);
        QCOMPARE(button->displayedImage(), disabled);
        click(button);
        QCOMPARE(clicks.count(), 0);
        QVERIFY(!button->isHot());

        // Disabling in the middle of a press forgets the press.
        button->setEnabled(true);
        QTest::mouseMove(button, QPoint(20, 20));
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 20));
        button->setEnabled(false);
        QVERIFY(!button->isPressed());
        QVERIFY(!button->isHot());
        button->setEnabled(true);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(clicks.count(), 0);

        // Without a disabled picture the bitmap is shown embossed.
        button->setDisabledBitmap(QImage());
        button->setEnabled(false);
        const QImage embossed = button->displayedImage();
        QCOMPARE(embossed.size(), button->Bitmap().size());
        QVERIFY(embossed != button->Bitmap());
    }

    // A radio group among buttons of one parent.
    void group() {
        Window window;
        QVERIFY(window.ready());
        Button *first = addButton(window, 0);
        Button *second = addButton(window, 50);
        Button *third = addButton(window, 100);
        QWidget elsewhere(&window.widget);
        auto *stranger = new Button(&elsewhere);
        for (Button *button : {first, second, third, stranger})
            button->setGroupIndex(1);

        click(first);
        QVERIFY(first->Down());
        click(second);
        QVERIFY(second->Down());
        QVERIFY(!first->Down());
        // Clicking the down button again changes nothing...
        click(second);
        QVERIFY(second->Down());

        // ...unless all may be up; the setting goes to the whole group.
        third->setAllowAllUp(true);
        QVERIFY(first->AllowAllUp());
        QVERIFY(second->AllowAllUp());
        QVERIFY(!stranger->AllowAllUp());
        click(second);
        QVERIFY(!second->Down());

        third->setDown(true);
        stranger->setDown(true);
        QVERIFY(third->Down());
        QVERIFY(stranger->Down());
        first->setDown(true);
        QVERIFY(!third->Down());
        QVERIFY(stranger->Down());

        first->setGroupIndex(0);
        QVERIFY(!first->Down());
        first->setDown(true);
        QVERIFY(!first->Down());
    }

    // A press shows the menu below the button and raises no click.
    void dropDownMenu() {
        Window window;
        QVERIFY(window.ready());
        Button *button = addButton(window, 10);
        QSignalSpy clicks(button, &Button::clicked);
        auto *menu = new QMenu(&window.widget);
        menu->addAction(QStringLiteral("項目"));
        button->setDropDownMenu(menu);

        QTest::mouseMove(button, QPoint(20, 20));
        QPoint shownAt;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, menu, [&] {
            if (QApplication::activePopupWidget() != menu)
                return;
            poll.stop();
            shownAt = menu->pos();
            menu->close();
        });
        poll.start();
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(shownAt, button->mapToGlobal(QPoint(0, button->height())));
        QVERIFY(!button->isPressed());
        QCOMPARE(clicks.count(), 0);

        // A menu that goes away takes the reference with it.
        delete menu;
        QCOMPARE(button->DropDownMenu(), nullptr);
        click(button);
        QCOMPARE(clicks.count(), 1);
    }

    // Alt + the letter after & clicks the button; && is a plain ampersand.
    void accelerator() {
        Window window;
        QVERIFY(window.ready());
        Button *open = addButton(window, 10, QStringLiteral("開く(&O)"));
        Button *both = addButton(window, 60, QStringLiteral("A&&B"));
        QSignalSpy openClicks(open, &Button::clicked);
        QSignalSpy bothClicks(both, &Button::clicked);

        QTest::keyClick(&window.widget, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(openClicks.count(), 1);
        QTest::keyClick(&window.widget, Qt::Key_B, Qt::AltModifier);
        QTest::keyClick(&window.widget, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(bothClicks.count(), 0);

        open->setEnabled(false);
        QTest::keyClick(&window.widget, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(openClicks.count(), 1);
        open->setEnabled(true);

        open->setCaption(QStringLiteral("保存(&S)"));
        QTest::keyClick(&window.widget, Qt::Key_O, Qt::AltModifier);
        QTest::keyClick(&window.widget, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(openClicks.count(), 2);
    }

    void stripAccelerators_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        QTest::newRow("marked letter") << QStringLiteral("開く(&O)") << QStringLiteral("開く(O)");
        QTest::newRow("double ampersand") << QStringLiteral("A&&B") << QStringLiteral("A&B");
        QTest::newRow("trailing ampersand") << QStringLiteral("AB&") << QStringLiteral("AB");
        QTest::newRow("plain") << QStringLiteral("変換") << QStringLiteral("変換");
    }
    void stripAccelerators() {
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        QCOMPARE(Button::stripAccelerators(caption), shown);
    }

    // Icon-only buttons show their caption as the tool tip.
    void iconOnlyHint() {
        Button button;
        button.setCaption(QStringLiteral("開く(&O)"));
        button.setOptions(Button::boIconOnly);
        QCOMPARE(button.Hint(), QStringLiteral("開く(O)"));
        QVERIFY(button.ShowHint());
        QCOMPARE(button.toolTip(), QStringLiteral("開く(O)"));
        // Setting the same options again keeps the hint.
        button.setOptions(Button::boIconOnly | Button::boMonoDisplay);
        QCOMPARE(button.Hint(), QStringLiteral("開く(O)"));
        button.setCaption(QStringLiteral("保存(&&S)"));
        QCOMPARE(button.Hint(), QStringLiteral("保存(&S)"));
        button.setOptions(Button::boMonoDisplay);
        QCOMPARE(button.Hint(), QString());
        QVERIFY(!button.ShowHint());
        QCOMPARE(button.toolTip(), QString());

        // A hint of the program's own survives leaving icon-only mode.
        button.setHint(QStringLiteral("ファイルを保存"));
        button.setShowHint(true);
        button.setOptions(Button::boIconOnly);
        button.setOptions({});
        QCOMPARE(button.Hint(), QStringLiteral("ファイルを保存"));
        QVERIFY(button.ShowHint());
    }

    // The toolbar's placement: image centred above the caption, block centred.
    void placementBitmapTopCentre() {
        Button button;
        button.resize(45, 45);
        button.setCaption(QStringLiteral("ヘルプ"));
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(kKey);
        button.setBitmap(image);
        const QRect caption = button.fontMetrics().boundingRect(
            QRect(0, 0, 41, 1000), Qt::AlignHCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
            button.Caption());
        const int captionWidth = qMin(caption.width(), 41);
        const int top = (45 - (32 + 2 + caption.height())) / 2;
        QCOMPARE(button.imageRect(), QRect((45 - 32) / 2, top, 32, 32));
        QCOMPARE(button.captionRect().topLeft(), QPoint((45 - captionWidth) / 2, top + 34));

        // Without a bitmap the caption alone is centred.
        button.setBitmap(QImage());
        QCOMPARE(button.captionRect().top(), (45 - caption.height()) / 2);
    }

    // The bevel's colours by state and BevelStyle, read off the painted button.
    void bevel_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<QPalette::ColorRole>("topLeft");
        QTest::addColumn<QPalette::ColorRole>("bottomRight");
        QTest::newRow("raised, hot")
            << int(Button::bsRaised) << false << QPalette::Light << QPalette::Dark;
        QTest::newRow("raised, pressed")
            << int(Button::bsRaised) << true << QPalette::Dark << QPalette::Light;
        QTest::newRow("lowered, hot")
            << int(Button::bsLowered) << false << QPalette::Dark << QPalette::Light;
        QTest::newRow("lowered, pressed")
            << int(Button::bsLowered) << true << QPalette::Light << QPalette::Dark;
    }
    void bevel() {
        QFETCH(int, style);
        QFETCH(bool, pressed);
        QFETCH(QPalette::ColorRole, topLeft);
        QFETCH(QPalette::ColorRole, bottomRight);
        Window window;
        QVERIFY(window.ready());
        Button *button = addButton(window, 10);
        button->setBevelStyle(Button::TBevelStyle(style));
        QTest::mouseMove(button, QPoint(20, 20));
        QTRY_VERIFY(button->isHot());
        if (pressed)
            QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 20));
        const QImage image = button->grab().toImage();
        const QPalette &colours = button->palette();
        QCOMPARE(image.pixel(0, 0), colours.color(topLeft).rgb());
        QCOMPARE(image.pixel(0, 20), colours.color(topLeft).rgb());
        QCOMPARE(image.pixel(44, 44), colours.color(bottomRight).rgb());
        QCOMPARE(image.pixel(44, 20), colours.color(bottomRight).rgb());
        if (pressed)
            QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 20));
    }

    // A down button is filled with the checkered pattern.
    void downPattern() {
        Window window;
        QVERIFY(window.ready());
        Button *button = addButton(window, 10);
        button->setBitmap(QImage());
        button->setGroupIndex(3);
        button->setDown(true);
        const QPalette &colours = button->palette();
        QImage image = button->grab().toImage();
        QCOMPARE(image.pixel(10, 10), colours.color(QPalette::Light).rgb());
        QCOMPARE(image.pixel(11, 11), colours.color(QPalette::Light).rgb());
        QCOMPARE(image.pixel(11, 10), colours.color(QPalette::Button).rgb());
        button->setShowDownPattern(false);
        image = button->grab().toImage();
        QVERIFY(image.pixel(10, 10) != colours.color(QPalette::Light).rgb() ||
                image.pixel(11, 10) != colours.color(QPalette::Button).rgb());
    }

    void toolbarPictures_data() {
        QTest::addColumn<QString>("name");
        for (const char *name : {"new", "open", "save", "convert", "setting", "help", "atok"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    // Each picture has a uniform key colour around it that the picture itself
    // does not use inside.
    void toolbarPictures() {
        QFETCH(QString, name);
        initWidgetResources();
        const QImage image(QStringLiteral(":/icons/%1.png").arg(name));
        QVERIFY(!image.isNull());
        QVERIFY(image.width() <= 45 && image.height() <= 45);
        const QRgb key = image.pixel(0, 0);
        QCOMPARE(image.pixel(image.width() - 1, 0), key);
        QCOMPARE(image.pixel(0, image.height() - 1), key);
        QCOMPARE(image.pixel(image.width() - 1, image.height() - 1), key);
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                drawn += image.pixel(x, y) != key;
        }
        QVERIFY(drawn > image.width() * image.height() / 4);
    }
};

QTEST_MAIN(TestExplorerButton)
#include "tst_explorerbutton.moc"
