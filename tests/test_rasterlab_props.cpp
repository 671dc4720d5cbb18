// Raster label as a Qt component: defaults, published properties and their registered
// enumerations, Assign, and what it tells assistive technology.
#include <gtest/gtest.h>

#include "test_rasterlab_support.h"

#include <QAccessible>
#include <QMetaEnum>
#include <QSignalSpy>
#include <memory>

using namespace qor;

namespace {

TEST(RasterLabProps, DefaultsAreTheDocumentedOnes)
{
    TRasterLab lab;
    EXPECT_EQ(lab.size(), QSize(400, 68));
    EXPECT_EQ(lab.Text(), QStringLiteral("Text"));
    EXPECT_EQ(lab.DotSize(), 3);
    EXPECT_EQ(lab.DotSpacing(), 1);
    EXPECT_EQ(lab.PosX(), 1);
    EXPECT_EQ(lab.PosY(), 1);
    EXPECT_TRUE(lab.Proportional());
    EXPECT_EQ(lab.CharBlockMode(), rdbmOn);
    EXPECT_EQ(lab.ColorDotOn(), 0x00FF00);
    EXPECT_EQ(lab.ColorDotOff(), 0x404040);
    EXPECT_EQ(lab.ColorLabBakG(), clBlack);
    EXPECT_EQ(lab.FrameStyle(), fsLowered);
    EXPECT_EQ(lab.ColorScheme(), csGrayWhite);
    EXPECT_FALSE(lab.AutoHeight());
    EXPECT_FALSE(lab.AutoCenter());
    EXPECT_EQ(lab.ScrollMode(), rdsmOff);
    EXPECT_EQ(lab.ScrollInterval(), 100);
    EXPECT_EQ(lab.ScrollIncrement(), 1);
    EXPECT_TRUE(lab.ScrollLoop());
    EXPECT_EQ(lab.ScrollX(), 0);
    EXPECT_EQ(lab.ScrollY(), 0);
    EXPECT_FALSE(lab.ScrollTimer()->Active());
}

TEST(RasterLabProps, PublishedPropertiesSurviveSetPropertyInTableOrder)
{
    TRasterLab lab;
    const QStringList expected = {"Text", "DotSize", "DotSpacing", "PosX", "PosY", "Proportional",
                                  "CharBlockMode", "ColorDotOn", "ColorDotOff", "ColorLabBakG", "FrameStyle",
                                  "ColorScheme", "AutoHeight", "AutoCenter", "ScrollMode", "ScrollInterval",
                                  "ScrollIncrement", "ScrollLoop"};
    const QMetaObject* mo = lab.metaObject();
    QStringList own;
    for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
        own << QString::fromLatin1(mo->property(i).name());
    EXPECT_EQ(own, expected);

    const QList<std::pair<const char*, QVariant>> values = {
        {"Text", QStringLiteral("Hello")},
        {"DotSize", 5},
        {"DotSpacing", 2},
        {"PosX", 7},
        {"PosY", -3},
        {"Proportional", false},
        {"CharBlockMode", QVariant::fromValue(rdbmRaster)},
        {"ColorDotOn", QColor(255, 128, 0)},
        {"ColorDotOff", QColor(10, 20, 30)},
        {"ColorLabBakG", QColor(1, 2, 3)},
        {"FrameStyle", QVariant::fromValue(fsEngraved)},
        {"ColorScheme", QVariant::fromValue(csSystemColors)},
        {"AutoHeight", true},
        {"ScrollMode", QVariant::fromValue(rdsmUp)},
        {"ScrollInterval", 250},
        {"ScrollIncrement", 3},
        {"ScrollLoop", false},
    };
    for (const auto& [name, v] : values) {
        EXPECT_TRUE(lab.setProperty(name, v)) << name;
        EXPECT_EQ(lab.property(name), v) << name;
    }
    lab.setProperty("AutoCenter", true);
    EXPECT_TRUE(lab.property("AutoCenter").toBool());
    EXPECT_EQ(lab.ColorDotOn(), RGB(255, 128, 0));

    // Designer and .ui files see the enumeration names in the unit's namespace.
    const QMetaEnum scroll = QMetaEnum::fromType<TRDScrollMode>();
    EXPECT_STREQ(scroll.scope(), "qor::QOR_RasterLab");
    EXPECT_STREQ(scroll.valueToKey(rdsmDown), "rdsmDown");
    EXPECT_EQ(scroll.keyCount(), 5);
    const QMetaEnum block = QMetaEnum::fromType<TRDBlockMode>();
    EXPECT_STREQ(block.valueToKey(rdbmRaster), "rdbmRaster");
    EXPECT_EQ(block.keyToValue("rdbmOff"), 0);
}

TEST(RasterLabProps, AssignCopiesFrameTextAndColoursButNotTheDots)
{
    TRasterLab src, dst;
    src.SetFrameStyle(fsEmbossed);
    src.SetText(QStringLiteral("Copied"));
    src.SetColorLabBakG(clNavy);
    src.SetColorDotOn(clYellow);
    src.SetColorDotOff(clRed);
    src.SetColorScheme(csSystemColors);
    src.SetDotSize(7);
    dst.Assign(&src);
    EXPECT_EQ(dst.FrameStyle(), fsEmbossed);
    EXPECT_EQ(dst.Text(), QStringLiteral("Copied"));
    EXPECT_EQ(dst.ColorLabBakG(), clNavy);
    EXPECT_EQ(dst.ColorDotOn(), clYellow);
    EXPECT_EQ(dst.ColorScheme(), csSystemColors);
    EXPECT_EQ(dst.ColorDotOff(), 0x404040);
    EXPECT_EQ(dst.DotSize(), 3);

    TRasterLab other;
    src.AssignTo(&other);
    EXPECT_EQ(other.Text(), QStringLiteral("Copied"));
    QObject plain;
    EXPECT_THROW(dst.Assign(&plain), EConvertError);
    EXPECT_THROW(src.AssignTo(&plain), EConvertError);
}

TEST(RasterLabProps, AccessibilityReadsTheTextAsStaticText)
{
    TRasterLab lab;
    lab.SetText(QStringLiteral("Pressure 2.5 bar"));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&lab);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::StaticText);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("Pressure 2.5 bar"));
    EXPECT_TRUE(iface->state().readOnly);
    EXPECT_EQ(iface->valueInterface(), nullptr);
    lab.SetText(QStringLiteral("Done"));
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("Done"));
}

} // namespace
