// The gallery: a list of pages on the left, the selected page on the right.
//   korvane_gallery                    interactive
//   korvane_gallery --screenshot DIR   renders every page to DIR/<page>.png, then again at a
//                                      device pixel ratio of 2 to DIR/<page>@2x.png, and exits;
//                                      fails when a page cannot be written or Qt warns
#include "GalleryPage.h"

#include <QApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMainWindow>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTextStream>
#include <QVBoxLayout>
#include <algorithm>

namespace gallery {

static std::vector<PageInfo>& Registry()
{
    static std::vector<PageInfo> pages;
    return pages;
}

bool RegisterPage(int order, const QString& title, const QString& fileName, std::function<QWidget*()> create)
{
    Registry().push_back({order, title, fileName, std::move(create)});
    return true;
}

std::vector<PageInfo> Pages()
{
    auto pages = Registry();
    std::stable_sort(pages.begin(), pages.end(), [](const PageInfo& a, const PageInfo& b) { return a.Order < b.Order; });
    return pages;
}

QWidget* Framed(const QString& title, QWidget* content)
{
    auto* box = new QGroupBox(title);
    auto* lay = new QVBoxLayout(box);
    lay->addWidget(content);
    return box;
}

QLabel* LabelFor(const QString& text, QWidget* field)
{
    // A label with a buddy reads "&" as the mark of a shortcut key; the text stays as written.
    auto* label = new QLabel(QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")));
    label->setBuddy(field);
    return label;
}

} // namespace gallery

namespace {

class MainWindow : public QMainWindow {
public:
    MainWindow()
    {
        setWindowTitle(QStringLiteral("Korvane gallery"));
        auto* central = new QWidget;
        auto* layout = new QHBoxLayout(central);
        FList = new QListWidget;
        FList->setFixedWidth(170);
        FStack = new QStackedWidget;
        for (const auto& page : gallery::Pages()) {
            FList->addItem(page.Title);
            auto* scroll = new QScrollArea;
            scroll->setWidgetResizable(true);
            QWidget* content = page.Create();
            scroll->setWidget(content);
            FStack->addWidget(scroll);
            FPages.push_back(content);
        }
        layout->addWidget(FList);
        layout->addWidget(FStack, 1);
        setCentralWidget(central);
        connect(FList, &QListWidget::currentRowChanged, FStack, &QStackedWidget::setCurrentIndex);
        FList->setCurrentRow(0);
        resize(1100, 760);
    }
    int PageCount() const { return FStack->count(); }
    void ShowPage(int i) { FList->setCurrentRow(i); }
    // Grows the window so the whole page shows (for screenshots).
    void FitPage(int i)
    {
        const QSize hint = FPages[size_t(i)]->sizeHint();
        resize(std::max(1100, std::min(hint.width() + 230, 2400)), std::max(760, std::min(hint.height() + 40, 2400)));
    }
private:
    std::vector<QWidget*> FPages;
    QListWidget* FList;
    QStackedWidget* FStack;
};

// Qt's warnings while the pages render: each is printed, and the run fails.
int WarningCount = 0;
void CountWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    // The offscreen platform cannot pass size limits on to a window system it does not have.
    const bool offscreenLimit = message == QLatin1String("This plugin does not support propagateSizeHints()");
    if (type == QtDebugMsg || type == QtInfoMsg || offscreenLimit)
        return;
    ++WarningCount;
    QTextStream(stderr) << "warning: " << message << "\n";
}

// The pages once more at twice the pixel density, in a process of their own: the scale factor is
// read when the application starts.
int HighDensityScreenshots(const QString& dirName)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--screenshot"), dirName, QStringLiteral("--suffix"), QStringLiteral("@2x")});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit)
        return 1;
    return child.exitCode();
}

int Screenshots(const QString& dirName, const QString& suffix)
{
    QDir dir;
    if (!dir.mkpath(dirName)) {
        QTextStream(stderr) << "cannot create " << dirName << "\n";
        return 1;
    }
    MainWindow w;
    w.show();
    const auto pages = gallery::Pages();
    int failures = 0;
    for (int i = 0; i < w.PageCount(); ++i) {
        w.ShowPage(i);
        w.FitPage(i);
        QApplication::processEvents();
        const QString file = QDir(dirName).filePath(pages[size_t(i)].FileName + suffix + QStringLiteral(".png"));
        if (!w.grab().save(file)) {
            QTextStream(stderr) << "cannot write " << file << "\n";
            ++failures;
        } else {
            QTextStream(stdout) << file << "\n";
        }
    }
    return failures || WarningCount ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool screenshots = std::any_of(argv, argv + argc, [](const char* a) { return qstrcmp(a, "--screenshot") == 0; });
    if (screenshots)
        qInstallMessageHandler(CountWarnings);
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int shot = args.indexOf(QStringLiteral("--screenshot"));
    if (shot >= 0) {
        if (shot + 1 >= args.size()) {
            QTextStream(stderr) << "usage: korvane_gallery --screenshot DIR\n";
            return 2;
        }
        const int suffixAt = args.indexOf(QStringLiteral("--suffix"));
        if (suffixAt >= 0)
            return Screenshots(args.at(shot + 1), args.value(suffixAt + 1));
        const int plain = Screenshots(args.at(shot + 1), QString());
        return HighDensityScreenshots(args.at(shot + 1)) || plain ? 1 : 0;
    }
    MainWindow w;
    w.show();
    return app.exec();
}
