// Sizes in layouts: every self-painting control asks for its creation size, the ones that
// cannot draw smaller ask for a minimum, and the raster label keeps its fitted height.
#include <gtest/gtest.h>

#include <QOR_NumLab.h>
#include <QOR_RasterLab.h>
#include <QOR_RotLab.h>
#include <QOR_sevenseg.h>

#include <QVBoxLayout>
#include <QWidget>

#include <memory>
#include <stdexcept>

using namespace qor;

namespace {

// A window whose labels stand one below the other.
struct Column {
    QWidget Window;
    QVBoxLayout* Layout = new QVBoxLayout(&Window);
    template <class T>
    T* Add()
    {
        auto* w = new T(&Window);
        Layout->addWidget(w);
        return w;
    }
    void Show(QSize size)
    {
        Window.resize(size);
        Window.show();
        Layout->activate();
    }
};

TEST(HostLayout, EveryLabelAsksForItsCreationSizeAndGetsAHeight)
{
    Column col;
    QWidget* labels[] = {col.Add<TNumLab>(), col.Add<TSevenSeg>(), col.Add<TRotLab>(), col.Add<TRasterLab>()};
    const QSize created[] = {{160, 28}, {216, 76}, {200, 200}, {400, 68}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(labels[i]->sizeHint(), created[i]) << labels[i]->metaObject()->className();
    col.Show(QSize(420, 600));
    for (int i = 0; i < 4; ++i)
        EXPECT_GE(labels[i]->height(), created[i].height()) << labels[i]->metaObject()->className();
}

TEST(HostLayout, AResizeBeforeTheLayoutAsksIsTheHint)
{
    TRotLab lab;
    lab.resize(90, 40);
    EXPECT_EQ(lab.sizeHint(), QSize(90, 40));
    lab.resize(300, 300);   // a layout's own resizes do not move it
    EXPECT_EQ(lab.sizeHint(), QSize(90, 40));
}

TEST(HostLayout, TheRasterLabelKeepsItsFittedHeightWhileAutoHeightIsOn)
{
    Column col;
    auto* raster = col.Add<TRasterLab>();
    auto* other = col.Add<TRotLab>();
    raster->SetAutoHeight(true);   // fsLowered, pitch 4, 12 rows: 49
    EXPECT_EQ(raster->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    col.Show(QSize(420, 500));
    EXPECT_EQ(raster->height(), 49);
    EXPECT_GT(other->height(), 200);

    raster->SetDotSize(5);   // pitch 6: 73
    col.Layout->activate();
    EXPECT_EQ(raster->height(), 73);

    // Off: the policy it had, and the creation height as the hint.
    raster->SetAutoHeight(false);
    EXPECT_EQ(raster->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);
    EXPECT_EQ(raster->sizeHint(), QSize(400, 68));
    col.Layout->activate();
    EXPECT_GT(raster->height(), 73);
}

TEST(HostLayout, LabelsThatCannotDrawSmallerAskForAMinimum)
{
    TNumLab num;
    EXPECT_EQ(num.minimumSizeHint().width(), 35 + 80 + 1);
    EXPECT_GE(num.minimumSizeHint().height(), 10);
    num.SetLabelWidth(200);
    EXPECT_EQ(num.minimumSizeHint().width(), 35 + 200 + 1);

    TSevenSeg seg;   // margin 8, 4 digits 2 apart
    EXPECT_EQ(seg.minimumSizeHint(), QSize(2 * 8 + 4 * 3, 2 * 8 + 1));
    seg.SetNumDigits(8);
    EXPECT_EQ(seg.minimumSizeHint().width(), 2 * 8 + 8 * 3);

    // A window squeezed below them keeps the field whole.
    Column col;
    auto* squeezed = col.Add<TNumLab>();
    col.Show(QSize(60, 30));
    EXPECT_GE(squeezed->width(), 35 + 80 + 1);
}

// A control whose size hooks throw.
class TThrowingSize : public TGraphicControl {
protected:
    QSize PreferredSize() const override { throw std::runtime_error("no size"); }
    QSize MinimumDrawSize() const override { throw std::runtime_error("no minimum"); }
};

TEST(HostLayout, AnExceptionWhileSizingGoesToTheApplicationHandler)
{
    QStringList seen;
    SetExceptionHandler([&](const std::exception& e) { seen << QString::fromUtf8(e.what()); });
    TThrowingSize w;
    EXPECT_NO_THROW(w.sizeHint());
    EXPECT_NO_THROW(w.minimumSizeHint());
    SetExceptionHandler(nullptr);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("no size"), QStringLiteral("no minimum")}));
}

} // namespace
