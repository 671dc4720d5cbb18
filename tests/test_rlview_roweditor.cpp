// Report list view: the row editor dialog, driven from a single-shot timer while it runs.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include <QOR_NumIOEdit.h>

#include "test_rlview_support.h"

using namespace qor;
using rlvtest::View;

namespace {

// Runs fn on the dialog once it is shown (the modal loop is running then).
void WhenShown(std::function<void(QDialog*)> fn)
{
    QTimer::singleShot(0, [fn] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        fn(dlg);
    });
}

template <typename T>
T* Child(QDialog* d, const QString& name)
{
    return d->findChild<T*>(name, Qt::FindDirectChildrenOnly);
}

QToolButton* Button(QDialog* d, const QString& text)
{
    for (auto* b : d->findChildren<QToolButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

void SetupRow(View& f)
{
    f.v.SetNrOfRows(8);
    f.v.SetHeader(1, QStringLiteral("Name"));
    f.v.SetHeader(2, QStringLiteral("Number"));
    f.v.SetHeader(3, QStringLiteral("Level"));
    f.v.SetHeader(4, QStringLiteral("Colour"));
    f.v.SetHeader(5, QStringLiteral("Date"));
    f.v.SetColumnFormat(2, QStringLiteral("[#i][60]rix3"));
    f.v.SetColumnFormat(3, QStringLiteral("[l:5][120]low|mid|high"));
    f.v.SetColumnFormat(4, QStringLiteral("[c][100]red|green"));
    f.v.SetColumnFormat(5, QStringLiteral("[ddd.MM.yyyy][90]"));
    f.v.SetElem(1, 7, QStringLiteral("Ada"));
    f.v.SetElem(3, 7, QStringLiteral("mid"));
    f.v.SetElem(5, 7, QStringLiteral("24.12.2020"));
}

} // namespace

TEST(RLViewRowEditor, ControlsFollowTheColumnFormatsAndOkWritesBack)
{
    View f;
    SetupRow(f);
    int capW = 0;
    const QFontMetrics fm(f.v.font());
    for (const char* h : {"Name", "Number", "Level", "Colour", "Date"})
        capW = std::max(capW, fm.horizontalAdvance(QString::fromLatin1(h)));
    capW += 8;
    bool checked = false;
    WhenShown([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Editing Row 7");
        auto* label = Child<QLabel>(d, "runtime_rlre_Label1");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), "Name:");
        EXPECT_EQ(label->geometry().topLeft(), QPoint(8, 45 + 3));
        EXPECT_EQ(label->width(), capW);
        EXPECT_EQ(label->property("Tag").toInt(), 1);

        auto* edit = Child<QLineEdit>(d, "runtime_rlre_Edit1");
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), "Ada");
        EXPECT_EQ(edit->geometry().topLeft(), QPoint(capW + 12, 45));
        EXPECT_EQ(edit->width(), 200);

        auto* num = Child<TNumIO>(d, "runtime_rlre_NumIO2");
        ASSERT_NE(num, nullptr);
        EXPECT_FALSE(num->isEnabled());
        EXPECT_EQ(num->width(), 60);
        EXPECT_EQ(num->text(), "007");
        EXPECT_EQ(num->geometry().top(), 45 + 25);

        auto* level = Child<QComboBox>(d, "runtime_rlre_CBox3");
        ASSERT_NE(level, nullptr);
        EXPECT_FALSE(level->isEditable());
        EXPECT_EQ(level->count(), 3);
        EXPECT_EQ(level->maxVisibleItems(), 5);
        EXPECT_EQ(level->currentIndex(), 1);

        auto* colour = Child<QComboBox>(d, "runtime_rlre_CBox4");
        ASSERT_NE(colour, nullptr);
        EXPECT_TRUE(colour->isEditable());
        EXPECT_EQ(colour->currentText(), "");
        EXPECT_EQ(colour->count(), 2);

        auto* date = Child<QDateTimeEdit>(d, "runtime_rlre_DtPick5");
        ASSERT_NE(date, nullptr);
        EXPECT_EQ(date->displayFormat(), "dd.MM.yyyy");
        EXPECT_EQ(date->date(), QDate(2020, 12, 24));

        // Own form: W x H and the two buttons.
        EXPECT_EQ(d->width(), 200 + capW + 28);
        EXPECT_EQ(d->height(), 5 * 25 + 45 + 38);
        QToolButton* ok = Button(d, "OK");
        QToolButton* cancel = Button(d, "Cancel");
        ASSERT_TRUE(ok && cancel);
        EXPECT_EQ(ok->geometry(), QRect(200 + capW - 154, 4, 81, 29));
        EXPECT_EQ(cancel->geometry(), QRect(200 + capW - 69, 4, 81, 29));

        edit->setText("Grace");
        level->setCurrentIndex(2);
        colour->setEditText("green");
        date->setDate(QDate(2021, 3, 5));
        checked = true;
        ok->click();
    });
    EXPECT_EQ(f.v.EditRowEntries(7, 10, 10), mrOk);
    ASSERT_TRUE(checked);
    EXPECT_EQ(f.v.Elem(1, 7), "Grace");
    EXPECT_EQ(f.v.Elem(2, 7), "007");   // read-only controls are written back too
    EXPECT_EQ(f.v.Elem(3, 7), "high");
    EXPECT_EQ(f.v.Elem(4, 7), "green");
    EXPECT_EQ(f.v.Elem(5, 7), "05.03.2021");
    // Nothing of the dialog is left over.
    EXPECT_TRUE(f.v.findChildren<QDialog*>().isEmpty());
}

TEST(RLViewRowEditor, CancelLeavesTheRowAndEnterActsAsOk)
{
    View f;
    SetupRow(f);
    WhenShown([](QDialog* d) {
        Child<QLineEdit>(d, "runtime_rlre_Edit1")->setText("changed");
        Button(d, "Cancel")->click();
    });
    EXPECT_EQ(f.v.EditRowEntries(7, 0, 0), mrCancel);
    EXPECT_EQ(f.v.Elem(1, 7), "Ada");

    WhenShown([](QDialog* d) { d->reject(); });   // Escape / window close
    EXPECT_EQ(f.v.EditRowEntries(7, 0, 0), mrCancel);

    WhenShown([](QDialog* d) {
        auto* e = Child<QLineEdit>(d, "runtime_rlre_Edit1");
        e->setText("entered");
        QTest::keyClick(e, Qt::Key_Return);
    });
    EXPECT_EQ(f.v.EditRowEntries(7, 0, 0, "Edit", "Yes", "No"), mrOk);
    EXPECT_EQ(f.v.Elem(1, 7), "entered");
}

TEST(RLViewRowEditor, ListOnlyBoxWithUnknownTextStartsEmptyAndWritesEmpty)
{
    View f;
    SetupRow(f);
    f.v.SetElem(3, 7, QStringLiteral("extreme"));
    WhenShown([](QDialog* d) {
        EXPECT_EQ(Child<QComboBox>(d, "runtime_rlre_CBox3")->currentIndex(), -1);
        Button(d, "OK")->click();
    });
    EXPECT_EQ(f.v.EditRowEntries(7, 0, 0), mrOk);
    EXPECT_EQ(f.v.Elem(3, 7), "");
}

TEST(RLViewRowEditor, ContainerFormKeepsItselfButLosesTheControls)
{
    View f;
    SetupRow(f);
    QDialog container(&f.v);
    container.setWindowTitle("Mine");
    container.resize(50, 50);
    WhenShown([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "");
        auto* e = Child<QLineEdit>(d, "runtime_rlre_Edit1");
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->geometry().top(), 30);          // offset top, no button margin
        EXPECT_GE(d->width(), 200 + 28);
        EXPECT_EQ(Button(d, "OK"), nullptr);
        d->done(mrOk);
    });
    EXPECT_EQ(f.v.EditRowEntries(7, &container, 20, 30), mrOk);
    for (QObject* c : container.children())
        EXPECT_FALSE(c->objectName().startsWith("runtime_rlre_")) << c->objectName().toStdString();
}

TEST(RLViewRowEditor, RequestedFormatsAndMalformedFormatsGiveUsableControls)
{
    View f;
    f.v.SetNrOfColumns(6);
    f.v.SetNrOfRows(2);
    f.v.SetColumnFormat(1, QStringLiteral("[c:-5][99999999]a|b||c"));
    f.v.SetColumnFormat(2, QStringLiteral("["));
    f.v.SetColumnFormat(3, QStringLiteral("]]x[["));
    f.v.SetColumnFormat(4, QStringLiteral("[d][-40]"));
    f.v.SetColumnFormat(5, QStringLiteral("[z][50]"));
    f.v.SetColumnFormat(6, QStringLiteral("[s][80]$pwd$8"));
    std::vector<int> asked;
    f.v.OnRequestEditFormat = [&](QObject*, int c, int r, QString& fmt) {
        asked.push_back(c);
        EXPECT_EQ(r, 2);
        if (c == 2)
            fmt = QStringLiteral("[h][70]rix4");
    };
    WhenShown([](QDialog* d) {
        auto* box = Child<QComboBox>(d, "runtime_rlre_CBox1");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->count(), 4);   // the empty item between two bars is kept
        EXPECT_GE(box->maxVisibleItems(), 1);
        EXPECT_LE(box->width(), 2000);
        auto* hex = Child<TNumIO>(d, "runtime_rlre_NumIO2");
        ASSERT_NE(hex, nullptr);
        EXPECT_EQ(hex->text(), "0002");
        EXPECT_NE(Child<QLineEdit>(d, "runtime_rlre_Edit3"), nullptr);
        auto* date = Child<QDateTimeEdit>(d, "runtime_rlre_DtPick4");
        ASSERT_NE(date, nullptr);
        EXPECT_EQ(date->width(), 200);
        EXPECT_NE(Child<QLabel>(d, "runtime_rlre_Label5"), nullptr);   // caption only
        EXPECT_EQ(d->findChildren<QWidget*>(QRegularExpression("runtime_rlre_(Edit|NumIO|CBox|DtPick)5")).size(), 0);
        EXPECT_EQ(Child<QLineEdit>(d, "runtime_rlre_Edit6")->text().size(), 8);
        Button(d, "Cancel")->click();
    });
    EXPECT_EQ(f.v.EditRowEntries(2, 0, 0), mrCancel);
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST(RLViewRowEditor, RixIsFoundInAnyCaseAndPaintingComesBackAsItWas)
{
    View f;
    f.v.SetNrOfColumns(3);
    f.v.SetNrOfRows(12);
    f.v.SetColumnFormat(1, QStringLiteral("[h][70]RIX4"));
    f.v.SetColumnFormat(2, QStringLiteral("[i][70]Rix3"));
    f.v.SetColumnFormat(3, QStringLiteral("[f][70]rIx2"));
    WhenShown([](QDialog* d) {
        EXPECT_EQ(Child<TNumIO>(d, "runtime_rlre_NumIO1")->text(), "000C");
        EXPECT_EQ(Child<TNumIO>(d, "runtime_rlre_NumIO2")->text(), "012");
        EXPECT_EQ(Child<TNumIO>(d, "runtime_rlre_NumIO3")->text(), "12.00");
        Button(d, "OK")->click();
    });
    // Painting was off before the dialog and stays off after its write-back.
    f.v.SetSuppressPaint(true);
    EXPECT_EQ(f.v.EditRowEntries(12, 0, 0), mrOk);
    EXPECT_TRUE(f.v.SuppressPaint());
    EXPECT_EQ(f.v.Elem(1, 12), "000C");
    // Positive control: on before, on after.
    f.v.SetSuppressPaint(false);
    WhenShown([](QDialog* d) { Button(d, "OK")->click(); });
    EXPECT_EQ(f.v.EditRowEntries(12, 0, 0), mrOk);
    EXPECT_FALSE(f.v.SuppressPaint());
    // The data's DefaultValue keeps its own rule: "rix" in lower case for h and i.
    EXPECT_EQ(f.v.DefaultValue(1, 12), "RIX4");
}
