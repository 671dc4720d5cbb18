// Gallery page "Calendar": an English calendar that starts the week on Sunday and a German one
// that starts it on Monday, each with a read-out of its selected date and holiday; holidays of
// the program's own added to both; switches for the display settings.
#include "GalleryPage.h"

#include <QOR_MiniCal.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <vector>

namespace {

using namespace qor;

// What the program added, so that it can be added again after a language change.
struct OwnHoliday {
    QDate Date;
    bool EveryYear;
    QString Name;
};

class CalendarPage : public QWidget {
public:
    CalendarPage()
    {
        auto* top = new QVBoxLayout(this);
        auto* row = new QHBoxLayout;
        row->addWidget(gallery::Framed(QStringLiteral("English, week from Sunday"),
                                       MakeCalendar(lgEnglish, dwSun, {300, 180})));
        row->addWidget(gallery::Framed(QStringLiteral("German, week from Monday, long month names"),
                                       MakeCalendar(lgGerman, dwMon, {360, 220})));
        row->addStretch();
        top->addLayout(row);
        auto* lower = new QHBoxLayout;
        lower->addWidget(gallery::Framed(QStringLiteral("Holidays of the program"), MakeHolidayList()));
        lower->addWidget(gallery::Framed(QStringLiteral("Settings of both calendars"), MakeSettings()));
        lower->addStretch();
        top->addLayout(lower);
        top->addWidget(new QLabel(QStringLiteral(
            "Keys: arrows move by a day or a week, Page Up/Down by a month, Ctrl+Page Up/Down by a year, "
            "Home/End to the first/last day. The wheel steps months.")));
        top->addStretch();
        FCalendars[1]->SetShowMonthShort(false);
    }

private:
    QWidget* MakeCalendar(TLanguage lang, TDayOfWeek first, QSize size)
    {
        auto* w = new QWidget;
        auto* lay = new QVBoxLayout(w);
        auto* cal = new TMiniCal;
        cal->setFixedSize(size);
        cal->SetLanguage(lang);
        cal->SetFirstDayOfWeek(first);
        auto* readOut = new QLabel;
        readOut->setMinimumWidth(size.width());
        auto show = [cal, readOut] {
            const QDate d = QDate(cal->Year(), cal->Month(), cal->Day());
            QString holiday;
            const bool isHoliday = cal->CheckHoliday(cal->Year(), cal->Month(), cal->Day(), holiday);
            readOut->setText(QStringLiteral("Selected: <b>%1</b>%2")
                                 .arg(d.toString(Qt::ISODate),
                                      isHoliday ? QStringLiteral(" &mdash; ") + holiday.toHtmlEscaped() : QString()));
        };
        connect(cal, &TMiniCal::changed, readOut, show);
        show();
        FReadOuts.push_back(show);
        lay->addWidget(cal);
        lay->addWidget(readOut);
        FCalendars.push_back(cal);
        return w;
    }

    QWidget* MakeHolidayList()
    {
        auto* w = new QWidget;
        auto* form = new QFormLayout(w);
        auto* date = new QDateEdit(QDate::currentDate());
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        date->setCalendarPopup(true);
        auto* name = new QLineEdit(QStringLiteral("Company day"));
        auto* every = new QCheckBox(QStringLiteral("every year"));
        auto* add = new QPushButton(QStringLiteral("Add to both"));
        FList = new QListWidget;
        FList->setMinimumSize(260, 90);
        form->addRow(QStringLiteral("Date"), date);
        form->addRow(QStringLiteral("Name"), name);
        form->addRow(QString(), every);
        form->addRow(QString(), add);
        form->addRow(QStringLiteral("Added"), FList);
        connect(add, &QPushButton::clicked, this, [this, date, name, every] {
            AddOwn({date->date(), every->isChecked(), name->text()});
        });
        AddOwn({QDate(QDate::currentDate().year(), 10, 3), true, QStringLiteral("Unity Day")});
        return w;
    }

    void AddOwn(const OwnHoliday& h)
    {
        FOwn.push_back(h);
        for (TMiniCal* cal : FCalendars)
            Apply(cal, h);
        ShowReadOuts();
        FList->addItem(QStringLiteral("%1  %2").arg(h.EveryYear ? h.Date.toString(QStringLiteral("dd.MM. (yearly)"))
                                                                : h.Date.toString(Qt::ISODate),
                                                    h.Name));
    }

    static void Apply(TMiniCal* cal, const OwnHoliday& h)
    {
        if (h.EveryYear)
            cal->AddRepeatHoliday(h.Date.day(), h.Date.month(), h.Name);
        else
            cal->AddHoliday(h.Date.day(), h.Date.month(), h.Date.year(), h.Name);
    }

    QWidget* MakeSettings()
    {
        auto* w = new QWidget;
        auto* lay = new QVBoxLayout(w);
        struct Switch {
            const char* Text;
            bool On;
            std::function<void(TMiniCal*, bool)> Set;
        };
        const Switch switches[] = {
            {"Mark today", true, [](TMiniCal* c, bool v) { c->SetMarkToday(v); }},
            {"Colour holidays", true, [](TMiniCal* c, bool v) { c->SetIndicateHolidays(v); }},
            {"Easter-dependent holidays", true, [](TMiniCal* c, bool v) { c->SetShowMovableHolidays(v); }},
            {"Click on a neighbour month switches", true, [](TMiniCal* c, bool v) { c->SetAutoSwitch(v); }},
            {"3-D buttons and border", true, [](TMiniCal* c, bool v) { c->SetCtl3D(v); }},
            {"Buttons follow the palette", true, [](TMiniCal* c, bool v) {
                 c->SetStyleElements(v ? TStyleElements{seFont, seClient, seBorder} : TStyleElements{});
             }},
        };
        for (const Switch& s : switches) {
            auto* box = new QCheckBox(QString::fromLatin1(s.Text));
            box->setChecked(s.On);
            connect(box, &QCheckBox::toggled, this, [this, set = s.Set](bool v) {
                for (TMiniCal* c : FCalendars)
                    set(c, v);
                ShowReadOuts();
            });
            lay->addWidget(box);
        }
        auto* english = new QCheckBox(QStringLiteral("Second calendar in English (drops added holidays, added again)"));
        connect(english, &QCheckBox::toggled, this, [this](bool v) {
            TMiniCal* cal = FCalendars[1];
            cal->SetLanguage(v ? lgEnglish : lgGerman);
            for (const OwnHoliday& h : FOwn)
                Apply(cal, h);
            ShowReadOuts();
        });
        lay->addWidget(english);
        lay->addStretch();
        return w;
    }

    // The holiday of the selected date changes with the holidays and the language too.
    void ShowReadOuts()
    {
        for (const auto& show : FReadOuts)
            show();
    }

    std::vector<TMiniCal*> FCalendars;
    std::vector<std::function<void()>> FReadOuts;
    std::vector<OwnHoliday> FOwn;
    QListWidget* FList = nullptr;
};

const bool registered = gallery::RegisterPage(90, QStringLiteral("Calendar"), QStringLiteral("calendar"),
                                              [] { return new CalendarPage; });

} // namespace
