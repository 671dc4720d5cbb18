// TRLData without a GUI application: its clipboard copies then go nowhere, quietly. Its own
// main, since every other test program starts a QApplication.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <QOR_rldata.h>

using namespace qor;

namespace {

void CopyBothForms()
{
    TRLData d;
    d.SetNrOfRows(2);
    d.SetElem(1, 1, QStringLiteral("x"));
    d.CopyToClipBoard(1, 1, 1, 2, true, QStringLiteral(";"));
    d.CopyToClipBoard(1, 1, 1, 2, true, false);
    d.CopyToClipBoard(1, 1, 1, 2, false, true);
    EXPECT_EQ(d.ClipboardText(1, 1, 1, 2, false, QStringLiteral(";")), QStringLiteral("x\n\n"));
}

} // namespace

TEST(RLDataWithoutGui, ClipboardCopiesNeedNoApplication)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    CopyBothForms();
}

TEST(RLDataWithoutGui, ClipboardCopiesNeedNoGuiApplication)
{
    int argc = 1;
    char name[] = "rldata_without_gui";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    CopyBothForms();
}
