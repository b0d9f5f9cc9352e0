// What the assignment pages show in Chinese mode and in a small window.

#include "model/keyboarddata.h"
#include "model/labels.h"
#include "model/translation.h"
#include "pages/basekeyspage.h"
#include "pages/cuttexttooltip.h"
#include "pages/extkeyspage.h"
#include "pages/lightingpage.h"
#include "pages/macropage.h"
#include "pages/mousepage.h"
#include "pages/multimediapage.h"
#include "pages/olddelaypage.h"
#include "pages/procreatepage.h"
#include "pages/r20widedelaypage.h"
#include "tst_language_support.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

// Every text a widget of the page shows: labels, buttons, spin boxes.
QStringList shownTexts(const QWidget &page)
{
    QStringList texts;
    for (QWidget *widget : page.findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(&page))
            continue;
        if (auto *label = qobject_cast<QLabel *>(widget))
            texts << label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts << button->text();
        else if (auto *spin = qobject_cast<QSpinBox *>(widget))
            texts << spin->text();
    }
    texts.removeAll(QString());
    return texts;
}

// Chinese mode may show a Latin word only as a key's name (keycaps are
// Latin) or inside a Chinese text of the table.
QStringList untranslated(const QStringList &texts)
{
    QSet<QString> allowed;
    for (const TranslationPair &pair : translationTable())
        allowed << pair.second;
    for (int usage = 0; usage < 256; ++usage)
        allowed << keyLabel(uint8_t(usage));
    const QRegularExpression latinWord(QStringLiteral("[A-Za-z]{2,}"));
    QStringList left;
    for (const QString &text : texts)
        if (!allowed.contains(text) && latinWord.match(text).hasMatch())
            left << text;
    return left;
}

int smallestFontPx(const QWidget &page)
{
    int smallest = 1000;
    for (QWidget *widget : page.findChildren<QWidget *>()) {
        const auto *button = qobject_cast<QAbstractButton *>(widget);
        const auto *label = qobject_cast<QLabel *>(widget);
        const bool showsText = (button && !button->text().isEmpty())
            || (label && !label->text().isEmpty());
        if (showsText && widget->isVisibleTo(&page))
            smallest = qMin(smallest, QFontInfo(widget->font()).pixelSize());
    }
    return smallest;
}

} // namespace

class TestPagesLanguage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void macroAndDelayPagesSpeakChinese();
    void smallWindowKeepsPageTextsReadable();
    void cutPageTextShowsWholeAsToolTip();

private:
    KeyboardData m_data;
};

void TestPagesLanguage::initTestCase()
{
    // Key 0 holds Shift+a as a press and release macro: every block kind.
    m_data.selectKey(0);
    m_data.updateSelectedKey([](KeyConfig &key) {
        key.setMacro({{0, 0xE1, 0}, {0, 0x04, 20}, {1, 0x04, 9999}, {1, 0xE1, 50}});
    });
}

void TestPagesLanguage::macroAndDelayPagesSpeakChinese()
{
    MacroPage macro(m_data);
    OldDelayPage oldDelay(m_data);
    R20WideDelayPage r20WideDelay(m_data);
    QWidget *const pages[] = {&macro, &oldDelay, &r20WideDelay};

    // English first: these are the words Chinese mode must replace.
    macro.rebuildFlow();
    const QStringList english =
        shownTexts(macro) + shownTexts(oldDelay) + shownTexts(r20WideDelay);
    for (const char *word : {"delay", "Press", "Release", "0ms", "Delay:", "MS", "NULL", "50 ms"})
        QVERIFY2(english.contains(QLatin1String(word)), word);

    const ChineseInterface chineseInterface;
    macro.retranslate();
    oldDelay.retranslate();
    r20WideDelay.retranslate();
    macro.rebuildFlow();
    for (QWidget *page : pages) {
        page->show();
        const QStringList texts = shownTexts(*page);
        QVERIFY(!texts.isEmpty());
        QVERIFY2(untranslated(texts).isEmpty(), qPrintable(untranslated(texts).join('|')));
    }
    const QStringList chinese =
        shownTexts(macro) + shownTexts(oldDelay) + shownTexts(r20WideDelay);
    for (const char *word : {"延时", "按下", "松开", "9999毫秒", "延时：", "毫秒", "空", "50 毫秒"})
        QVERIFY2(chinese.contains(QString::fromUtf8(word)), word);
    // Key names stay keycaps.
    QVERIFY(chinese.contains(QStringLiteral("A")));

    // Back to English, also for the blocks made while Chinese was on.
    setInterfaceChinese(false);
    macro.retranslate();
    r20WideDelay.retranslate();
    QVERIFY(shownTexts(macro).contains(QStringLiteral("Release")));
    QVERIFY(shownTexts(r20WideDelay).contains(QStringLiteral("NULL")));
}

void TestPagesLanguage::smallWindowKeepsPageTextsReadable()
{
    // A window of 800 x 600 draws at a ratio of about 0.53; the page area is
    // then about 700 x 300.
    constexpr double kSmallRatio = 0.5;
    const QSize smallPage(700, 300);

    auto base = std::make_unique<BaseKeysPage>();
    auto ext = std::make_unique<ExtKeysPage>();
    auto media = std::make_unique<MultiMediaPage>();
    auto mouse = std::make_unique<MousePage>();
    auto procreate = std::make_unique<ProcreatePage>();
    auto lighting = std::make_unique<LightingPage>();
    auto oldDelay = std::make_unique<OldDelayPage>(m_data);
    auto r20WideDelay = std::make_unique<R20WideDelayPage>(m_data);
    const QString r20WideSheet = r20WideDelay->styleSheet();
    const QString oldSheet = oldDelay->styleSheet();
    // The fixed-size pages keep their design down to a ratio of 0.8.
    r20WideDelay->setScale(0.8);
    oldDelay->setScale(0.8);
    QCOMPARE(r20WideDelay->styleSheet(), r20WideSheet);
    QCOMPARE(oldDelay->styleSheet(), oldSheet);

    base->setScale(kSmallRatio);
    ext->setScale(kSmallRatio);
    media->setScale(kSmallRatio);
    mouse->setScale(kSmallRatio);
    procreate->setScale(kSmallRatio);
    lighting->bind(m_data);
    lighting->refresh();
    lighting->setScale(kSmallRatio);
    oldDelay->setScale(kSmallRatio);
    r20WideDelay->setScale(kSmallRatio);
    QWidget *const pages[] = {base.get(),      ext.get(),      media.get(),
                              mouse.get(),     procreate.get(), lighting.get(),
                              oldDelay.get(),  r20WideDelay.get()};
    for (QWidget *page : pages) {
        page->resize(smallPage);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page));
        QVERIFY2(smallestFontPx(*page) >= 8, page->metaObject()->className());
        // The eighteen delay slots and the long effect names fit across.
        QVERIFY2(page->width() <= smallPage.width(),
                 qPrintable(QStringLiteral("%1 %2").arg(page->metaObject()->className())
                                .arg(page->width())));
        page->hide();
    }
}

void TestPagesLanguage::cutPageTextShowsWholeAsToolTip()
{
    QWidget page;
    auto *button = new QPushButton(QStringLiteral("Ctrl+Mouse\nDown"), &page);
    showCutTextsAsToolTips(&page);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const auto askForToolTip = [button] {
        QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &event);
        return button->toolTip();
    };

    button->setGeometry(0, 0, 300, 60);
    QVERIFY(buttonTextFits(*button));
    QCOMPARE(askForToolTip(), QString());

    // Narrower than its words: the whole text, on one line, comes on hover.
    button->setGeometry(0, 0, 30, 60);
    QVERIFY(!buttonTextFits(*button));
    QCOMPARE(askForToolTip(), QStringLiteral("Ctrl+Mouse Down"));
    // Too low for its two lines counts as cut as well.
    button->setGeometry(0, 0, 300, 12);
    QCOMPARE(askForToolTip(), QStringLiteral("Ctrl+Mouse Down"));
    button->setGeometry(0, 0, 300, 60);
    QCOMPARE(askForToolTip(), QString());
}

QTEST_MAIN(TestPagesLanguage)
#include "tst_pages_language.moc"
