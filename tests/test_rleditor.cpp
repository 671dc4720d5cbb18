// The row editor dialog: controls chosen by the column formats, layout, write-back, cleanup.
#include <gtest/gtest.h>

#include <QOR_NumIOEdit.h>
#include <QOR_rldata.h>
#include <QOR_rleditor.h>
#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace qor;

namespace {

struct RowEditorTest : ::testing::Test {
    QWidget view;
    TRLData data;
    TRowEditor editor{&view, &data};
    void SetUp() override
    {
        data.SetNrOfColumns(3);
        data.SetNrOfRows(8);
        data.SetHeader(1, QStringLiteral("Name"));
        data.SetHeader(2, QStringLiteral("Count"));
        data.SetHeader(3, QStringLiteral("Level"));
    }
    // Runs the dialog; `inspect` sees it while it is open and ends it.
    int Run(int row, const std::function<void(QDialog*)>& inspect)
    {
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            inspect(dlg);
        });
        return editor.Run(row, 100, 120, QStringLiteral("Editing Row %1").arg(row), QStringLiteral("OK"),
                          QStringLiteral("Cancel"));
    }
    template <class T>
    static T* Find(QDialog* dlg, const QString& name)
    {
        return dlg->findChild<T*>(name);
    }
};

TEST_F(RowEditorTest, ParsesFormats)
{
    auto f = TRowEditFormat::Parse(QStringLiteral("[#i][60]rix3"));
    EXPECT_TRUE(f.ReadOnly);
    EXPECT_EQ(f.Type, QLatin1Char('i'));
    EXPECT_EQ(f.Width, 60);
    EXPECT_EQ(f.Rest, QStringLiteral("rix3"));
    f = TRowEditFormat::Parse(QString());
    EXPECT_EQ(f.Type, QLatin1Char('s'));
    EXPECT_EQ(f.Width, 200);
    f = TRowEditFormat::Parse(QStringLiteral("[l:5][120]low|mid|high"));
    EXPECT_EQ(f.DropDownCount(), 5);
    EXPECT_EQ(f.Rest, QStringLiteral("low|mid|high"));
    // Malformed formats still give something usable.
    EXPECT_EQ(TRowEditFormat::Parse(QStringLiteral("[c:-4][99999999999]a")).DropDownCount(), 1);
    EXPECT_EQ(TRowEditFormat::Parse(QStringLiteral("[c][99999999999]a")).Width, 2000);
    EXPECT_EQ(TRowEditFormat::Parse(QStringLiteral("[i][-5]x")).Width, 200);
    EXPECT_EQ(TRowEditFormat::Parse(QStringLiteral("[i")).Type, QLatin1Char('s'));
    EXPECT_EQ(TRowEditFormat::Parse(QStringLiteral("[]]")).Type, QLatin1Char('s'));
    EXPECT_EQ(TRowEditFormat::Parse(QStringLiteral("[i]rix3")).Rest, QStringLiteral("rix3"));
}

TEST_F(RowEditorTest, ControlsFollowTheFormatsAndLayout)
{
    data.SetColumnFormat(2, QStringLiteral("[#i][60]rix3"));
    data.SetColumnFormat(3, QStringLiteral("[l:5][120]low|mid|high"));
    data.SetElem(1, 7, QStringLiteral("Ada"));
    data.SetElem(3, 7, QStringLiteral("mid"));
    int captionWidth = 0;
    const int result = Run(7, [&](QDialog* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Editing Row 7"));
        auto* caption = Find<QLabel>(dlg, QStringLiteral("runtime_rlre_Label1"));
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->text(), QStringLiteral("Name:"));
        EXPECT_EQ(caption->property("Tag").toInt(), 1);
        captionWidth = caption->width();
        EXPECT_EQ(caption->geometry().topLeft(), QPoint(8, 45 + 3));

        auto* edit = Find<QLineEdit>(dlg, QStringLiteral("runtime_rlre_Edit1"));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QStringLiteral("Ada"));
        EXPECT_EQ(edit->geometry(), QRect(captionWidth + 12, 45, 200, 21));

        auto* num = Find<TNumIO>(dlg, QStringLiteral("runtime_rlre_NumIO2"));
        ASSERT_NE(num, nullptr);
        EXPECT_FALSE(num->isEnabled());
        EXPECT_EQ(num->text(), QStringLiteral("007"));
        EXPECT_EQ(num->width(), 60);
        EXPECT_EQ(num->y(), 45 + 25);

        auto* box = Find<QComboBox>(dlg, QStringLiteral("runtime_rlre_CBox3"));
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->isEditable());
        EXPECT_EQ(box->count(), 3);
        EXPECT_EQ(box->currentIndex(), 1);
        EXPECT_EQ(box->maxVisibleItems(), 5);

        EXPECT_EQ(dlg->size(), QSize(200 + captionWidth + 28, 3 * 25 + 45 + 38));
        const auto buttons = dlg->findChildren<QToolButton*>();
        ASSERT_EQ(buttons.size(), 2);
        for (auto* b : buttons) {
            EXPECT_EQ(b->size(), QSize(81, 29));
            EXPECT_EQ(b->y(), 4);
        }
        edit->setText(QStringLiteral("Grace"));
        dlg->done(mrOk);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(data.Elem(1, 7), QStringLiteral("Grace"));
    EXPECT_EQ(data.Elem(2, 7), QStringLiteral("007"));   // read-only controls are written back too
    EXPECT_EQ(data.Elem(3, 7), QStringLiteral("mid"));
    EXPECT_TRUE(view.findChildren<QDialog*>().isEmpty());   // the own form is gone
}

TEST_F(RowEditorTest, CancelLeavesTheRowAlone)
{
    data.SetElem(1, 2, QStringLiteral("keep"));
    const int result = Run(2, [](QDialog* dlg) {
        Find<QLineEdit>(dlg, QStringLiteral("runtime_rlre_Edit1"))->setText(QStringLiteral("changed"));
        QToolButton* cancel = nullptr;
        for (auto* b : dlg->findChildren<QToolButton*>())
            if (b->text() == QStringLiteral("Cancel"))
                cancel = b;
        ASSERT_NE(cancel, nullptr);
        cancel->click();
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(data.Elem(1, 2), QStringLiteral("keep"));
}

TEST_F(RowEditorTest, EnterInAWritableControlEndsWithOk)
{
    const int result = Run(1, [](QDialog* dlg) {
        auto* edit = Find<QLineEdit>(dlg, QStringLiteral("runtime_rlre_Edit1"));
        edit->setText(QStringLiteral("typed"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(data.Elem(1, 1), QStringLiteral("typed"));
}

TEST_F(RowEditorTest, ListOnlyComboWithUnknownTextWritesEmpty)
{
    data.SetColumnFormat(3, QStringLiteral("[l][120]low|mid|high"));
    data.SetElem(3, 4, QStringLiteral("extreme"));
    Run(4, [](QDialog* dlg) {
        EXPECT_EQ(Find<QComboBox>(dlg, QStringLiteral("runtime_rlre_CBox3"))->currentIndex(), -1);
        dlg->done(mrOk);
    });
    EXPECT_EQ(data.Elem(3, 4), QString());
}

TEST_F(RowEditorTest, EditableComboStartsEmptyOnAnEmptyCell)
{
    data.SetColumnFormat(3, QStringLiteral("[c][100]red|green|"));
    Run(5, [](QDialog* dlg) {
        auto* box = Find<QComboBox>(dlg, QStringLiteral("runtime_rlre_CBox3"));
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(box->currentText(), QString());
        EXPECT_EQ(box->count(), 2);
        dlg->done(mrCancel);
    });
}

TEST_F(RowEditorTest, DatePickerReadsAndWritesTheDateFormat)
{
    data.SetColumnFormat(3, QStringLiteral("[ddd.MM.yyyy][90]"));
    data.SetElem(3, 3, QStringLiteral("24.12.2025"));
    Run(3, [](QDialog* dlg) {
        auto* picker = Find<QDateTimeEdit>(dlg, QStringLiteral("runtime_rlre_DtPick3"));
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->displayFormat(), QStringLiteral("dd.MM.yyyy"));
        EXPECT_EQ(picker->date(), QDate(2025, 12, 24));
        EXPECT_EQ(picker->width(), 90);
        picker->setDate(QDate(2026, 1, 2));
        dlg->done(mrOk);
    });
    EXPECT_EQ(data.Elem(3, 3), QStringLiteral("02.01.2026"));
}

TEST_F(RowEditorTest, FormatRequestCanReplaceTheFormat)
{
    QList<int> asked;
    editor.OnRequestEditFormat = [&](QObject* sender, int col, int row, QString& format) {
        EXPECT_EQ(sender, &view);
        EXPECT_EQ(row, 6);
        asked << col;
        if (col == 1)
            format = QStringLiteral("[s][80]$pwd$12");
    };
    Run(6, [](QDialog* dlg) {
        auto* edit = Find<QLineEdit>(dlg, QStringLiteral("runtime_rlre_Edit1"));
        EXPECT_EQ(edit->width(), 80);
        EXPECT_EQ(edit->text().size(), 12);
        dlg->done(mrCancel);
    });
    EXPECT_EQ(asked, QList<int>({1, 2, 3}));
}

TEST_F(RowEditorTest, ContainerFormKeepsItselfButLosesTheControls)
{
    QDialog container;
    container.setWindowTitle(QStringLiteral("mine"));
    container.resize(50, 50);
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(container.windowTitle(), QString());
        auto* edit = container.findChild<QLineEdit*>(QStringLiteral("runtime_rlre_Edit2"));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->x(), container.findChild<QLabel*>(QStringLiteral("runtime_rlre_Label2"))->width() + 30 + 12);
        EXPECT_EQ(edit->y(), 25 + 40);
        EXPECT_TRUE(container.findChildren<QToolButton*>().isEmpty());
        EXPECT_GE(container.width(), 200 + 28);
        container.done(mrOk);
    });
    EXPECT_EQ(editor.Run(1, &container, 30, 40), mrOk);
    EXPECT_TRUE(container.findChildren<QWidget*>(QRegularExpression(QStringLiteral("^runtime_rlre_"))).isEmpty());
}

} // namespace
