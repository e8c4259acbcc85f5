#include "kit/DisableSubviews.h"
#include "kit/MouseDownTextField.h"
#include "kit/ProgressIndicator.h"
#include "kit/undragTypesImgV.h"

#include <QEnterEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tolvex;

namespace {

class CountingDelegate : public MouseDownTextFieldDelegate {
public:
    QList<MouseDownTextField*> clicked;
    void mouseDownTextFieldClicked(MouseDownTextField* field) override { clicked << field; }
};

class PressCounter : public QWidget {
public:
    using QWidget::QWidget;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        ++presses;
        event->accept();
    }
};

// Two kinds of control and a spinner, which is no control, under a container.
struct Controls {
    QWidget root;
    QWidget* container = new QWidget(&root);
    ProgressIndicator* spinner = new ProgressIndicator(container);
    const QList<QAbstractButton*> buttons{new QPushButton(container), new QRadioButton(container)};

    QList<bool> enabled() const { return {buttons[0]->isEnabled(), buttons[1]->isEnabled()}; }
};

} // namespace

class TestSmallViews : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Only the controls change; the views holding them stay as they are.
    void controlsAloneAreDisabled()
    {
        Controls view;
        disableSubviews(&view.root, true);
        QCOMPARE(view.enabled(), QList<bool>({false, false}));
        QVERIFY(view.container->isEnabled() && view.spinner->isEnabled());
        disableSubviews(&view.root, false);
        QCOMPARE(view.enabled(), QList<bool>({true, true}));
    }

    void clickGoesToTheDelegateAndNeverEdits()
    {
        QWidget window;
        auto* field = new MouseDownTextField(&window);
        field->setText(QStringLiteral("1 - pass"));
        field->setGeometry(10, 10, 120, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(field->cursor().shape(), Qt::PointingHandCursor);

        QTest::mouseDClick(field, Qt::LeftButton);
        QVERIFY(!field->hasSelectedText());

        CountingDelegate delegate;
        field->setDelegate(&delegate);
        QTest::mouseClick(field, Qt::LeftButton);
        QCOMPARE(delegate.clicked, QList<MouseDownTextField*>{field});
    }

    void hoverUnderlineIsGoneAfterTheMouseLeaves()
    {
        MouseDownTextField field;
        field.setText(QStringLiteral("7 - pass"));
        QFont underlined = field.font();
        underlined.setUnderline(true);
        field.setFont(underlined);

        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&field, &enter);
        QCOMPARE(field.underlineStyle(), MouseDownTextField::UnderlineStyle::Double);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&field, &leave);
        QCOMPARE(field.underlineStyle(), MouseDownTextField::UnderlineStyle::None);
        QVERIFY(!field.font().underline());
    }

    void decorativeImageLetsClicksThrough()
    {
        QWidget window;
        window.resize(200, 200);
        auto* behind = new PressCounter(&window);
        behind->setGeometry(0, 0, 200, 200);
        auto* image = new undragTypesImgV(&window);
        image->setGeometry(50, 50, 100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(behind->presses, 1);

        // With a subview, the mouse goes to that subview wherever it is pressed.
        auto* first = new PressCounter(image);
        first->setGeometry(0, 0, 10, 10);
        first->show();
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(first->presses, 1);
        QCOMPARE(behind->presses, 1);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("^subV> QWidget"));
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(55, 55));
        QCOMPARE(first->presses, 2);
    }
};

QTEST_MAIN(TestSmallViews)
#include "test_smallviews.moc"
