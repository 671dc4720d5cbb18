// Test main: offscreen platform, DejaVu Sans as the application font, fixed format settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include <QOR_SysUtils.h>

#include <QtPlugin>

// The tests' listener for accessibility events (testmain/accessibility_bridge.cpp).
Q_IMPORT_PLUGIN(KorvaneTestBridgePlugin)

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    QApplication::setFont(font);
    qor::ResetFormatSettings();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
