// TOnOffBut: construction, settings, pictures, radio groups, input and Assign.
#include "QOR_onoffbut.h"
#include "QOR_WidgetFactory.h"

#include <QKeyEvent>
#include <algorithm>

namespace qor {

namespace {

const char* const kResourceNames[] = {
    "", "CHECKBOX", "RADIOBUT", "SLIDETOPBOT", "SLIDELFTRGT", "COLSLIDETB", "COLSLIDELR", "LEDREDGREEN",
    "ARROWTR", "ARROWUD", "ARROWLR", "TRAFFICLGT", "BEVELEDLED", "SMILEYS", "SMILEYRG", "BULB", "BUTLAMP",
    "HDLEFT", "HDRIGHT", "USER1", "USER2", "USER3", "USER4", "USER5",
};

// The largest tile a user glyph may have.
constexpr int MaxUserTile = 1024;

} // namespace

QString OnOffButResourceName(TOnOffButStyle Style)
{
    const auto i = size_t(Style);
    return i < std::size(kResourceNames) ? QString::fromLatin1(kResourceNames[i]) : QString();
}

QOR_REGISTER_WIDGET(qor::TOnOffBut);

TOnOffBut::TOnOffBut(QWidget* AOwner) : TGraphicControl(AOwner)
{
    setFocusPolicy(Qt::TabFocus);
    for (TBitmap& img : FUserImg)
        img.SetSize(20, 20);   // white
    TCanvas* cross = FUserImg[1].Canvas();
    cross->MoveTo(0, 0);
    cross->LineTo(20, 20);
    cross->MoveTo(0, 20);
    cross->LineTo(20, 0);
    FUserImg[3].Canvas()->Ellipse(5, 5, 15, 15);
    LoadGlyphs();
    resize(100, 50);
    AdjustAutoCenter();
    OnResize = [this](QObject*) { ProcessResize(); };
}

TOnOffBut::~TOnOffBut() = default;

template <class T> void TOnOffBut::Set(T& field, const T& v)
{
    if (Store(field, v))
        Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Pictures and geometry

void TOnOffBut::ExtractGlyphs(const TBitmap& Bmp, std::array<TBitmap, 4>& Into)
{
    const int w = Bmp.Width() / 2, h = Bmp.Height() / 2;
    const QImage& img = Bmp.Image();
    Into[3].SetImage(img.copy(0, 0, w, h));
    Into[1].SetImage(img.copy(w, 0, w, h));
    Into[2].SetImage(img.copy(0, h, w, h));
    Into[0].SetImage(img.copy(w, h, w, h));
}

void TOnOffBut::LoadGlyphs()
{
    if (FButStyle == oobsUser) {
        for (size_t i = 0; i < 4; ++i)
            FButImg[i].Assign(FUserImg[i]);
    } else {
        TBitmap set;
        if (!set.LoadFromResourceName(OnOffButResourceName(FButStyle)))
            return;
        ExtractGlyphs(set, FButImg);
    }
    FGlyphWidth = FButImg[3].Width();
    FGlyphHeight = FButImg[3].Height();
}

void TOnOffBut::AdjustAutoCenter()
{
    FLeftSpace = (width() - FGlyphWidth) / 2;
    FTopSpace = (height() - FGlyphHeight) / 2;
}

void TOnOffBut::ProcessResize()
{
    if (FAutoCenter)
        AdjustAutoCenter();
    Invalidate();
}

void TOnOffBut::SetButtonStyle(TOnOffButStyle v)
{
    if (!Store(FButStyle, v))
        return;
    LoadGlyphs();
    if (FAutoCenter)
        AdjustAutoCenter();
    Invalidate();
}

void TOnOffBut::SetUserGlyph(const TBitmap& Img)
{
    const int w = Img.Width() / 2, h = Img.Height() / 2;
    if (w < 1 || h < 1 || w > MaxUserTile || h > MaxUserTile)
        throw EQORError(QStringLiteral("Component \"%1\": a user glyph is a bitmap of 2 x 2 pictures of 1 x 1 to "
                                       "%2 x %2 pixels, not %3 x %4")
                            .arg(Name())
                            .arg(MaxUserTile)
                            .arg(Img.Width())
                            .arg(Img.Height()));
    ExtractGlyphs(Img, FUserImg);
    if (FButStyle != oobsUser)
        return;
    LoadGlyphs();
    if (FAutoCenter)
        AdjustAutoCenter();
    Invalidate();
}

void TOnOffBut::LoadUserGlyph(const QString& FName)
{
    TBitmap img;
    if (!img.LoadFromFile(FName))
        throw EInOutError(QStringLiteral("Component \"%1\": cannot read the user glyph \"%2\"").arg(Name(), FName));
    SetUserGlyph(img);
}

void TOnOffBut::SetAutoCenter(bool v)
{
    if (!Store(FAutoCenter, v))
        return;
    if (v)
        AdjustAutoCenter();
    Invalidate();
}

void TOnOffBut::SetSpace(int& Field, int v, int Limit)
{
    if (v < 0 || v == Field)
        return;
    if (FAutoCenter)
        AdjustAutoCenter();
    else
        Field = std::min(v, Limit);
    Invalidate();
}

void TOnOffBut::SetLeftSpace(int v) { SetSpace(FLeftSpace, v, width()); }
void TOnOffBut::SetTopSpace(int v) { SetSpace(FTopSpace, v, height()); }

// ---------------------------------------------------------------------------------------------
// Looks

// The captions name the button for assistive technology too.
void TOnOffBut::SetCaption(QString& Field, const QString& v)
{
    if (!Store(Field, v))
        return;
    Invalidate();
    AccessibleValueChanged();
}

void TOnOffBut::SetBottomText(const QString& v) { SetCaption(FBottomText, v); }
void TOnOffBut::SetLeftText(const QString& v) { SetCaption(FLeftText, v); }
void TOnOffBut::SetRightText(const QString& v) { SetCaption(FRightText, v); }
void TOnOffBut::SetTopText(const QString& v) { SetCaption(FTopText, v); }
void TOnOffBut::SetBottomTextAlignment(TAlignment v) { Set(FBTAlignment, v); }
void TOnOffBut::SetLeftTextAlignment(TAlignment v) { Set(FLTAlignment, v); }
void TOnOffBut::SetRightTextAlignment(TAlignment v) { Set(FRTAlignment, v); }
void TOnOffBut::SetTopTextAlignment(TAlignment v) { Set(FTTAlignment, v); }
void TOnOffBut::SetColorBackgnd(TColor v) { Set(FColorBakG, v); }
void TOnOffBut::SetColorText(TColor v) { Set(FColorTxt, v); }
void TOnOffBut::SetFrameStyle(TFrameStyle v) { Set(FFrameStyle, v); }

void TOnOffBut::SetFrameLineColors()
{
    const bool plain = FColorScheme == csGrayWhite;
    FColBlackLine = clBlack;
    FColGrayLine = plain ? clGray : clBtnShadow;
    FColWhiteLine = plain ? clWhite : clBtnHighlight;
}

void TOnOffBut::SetColorScheme(TColorScheme v)
{
    if (!Store(FColorScheme, v))
        return;
    SetFrameLineColors();
    Invalidate();
}

void TOnOffBut::SetTransparent(bool v)
{
    FTransParent = v;
    SetTransparentSurface(v);
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// State and radio groups

void TOnOffBut::ChangeState(bool v)
{
    if (!Store(FOnOff, v))
        return;
    Invalidate();
    emit onOffChanged(v);
    QAccessible::State changed;
    changed.checked = true;
    AccessibleStateChanged(changed);
}

void TOnOffBut::SetOnOff(bool v)
{
    if (v == FOnOff || (!v && FGroupIndex != 0 && !FAllowAllOff))
        return;
    ChangeState(v);
    if (v)
        UpdateExclusive();
}

void TOnOffBut::setOnOff(bool v)
{
    WritePublished("OnOff", v, TWriteRoute::Call, [&] { ApplyPublishedOnOff(v); });
}

void TOnOffBut::loaderSetOnOff(bool v)
{
    WritePublished("OnOff", v, TWriteRoute::MetaObject, [&] { ApplyPublishedOnOff(v); });
}

void TOnOffBut::ApplyPublishedOnOff(bool v)
{
    if (!Configuring()) {
        SetOnOff(v);
        return;
    }
    ChangeState(v);
    if (v)
        UpdateExclusive();
}

void TOnOffBut::SetMode(TOOButMode v)
{
    FMode = v;
    if (v == oobmSpeedBut)
        ChangeState(false);
    Invalidate();
}

void TOnOffBut::SetGroupIndex(int v)
{
    if (Store(FGroupIndex, v))
        UpdateExclusive();
}

void TOnOffBut::SetAllowAllOff(bool v)
{
    if (Store(FAllowAllOff, v))
        UpdateExclusive();
}

void TOnOffBut::UpdateExclusive()
{
    QWidget* parent = parentWidget();
    if (FGroupIndex == 0 || !parent)
        return;
    for (TOnOffBut* b : parent->findChildren<TOnOffBut*>(QString(), Qt::FindDirectChildrenOnly))
        b->ButtonPressed(FGroupIndex, this);
}

void TOnOffBut::ButtonPressed(int GroupIdx, TOnOffBut* Sender)
{
    if (Sender == this || GroupIdx != FGroupIndex)
        return;
    if (Sender->FOnOff && FOnOff)
        ChangeState(false);
    FAllowAllOff = Sender->FAllowAllOff;
}

// ---------------------------------------------------------------------------------------------
// Input

bool TOnOffBut::ActsAt(int X, int Y) const
{
    switch (FMouseAction) {
    case oomaFocused:
        return X > FLeftSpace && X < FLeftSpace + FGlyphWidth && Y > FTopSpace && Y < FTopSpace + FGlyphHeight;
    case oomaPlain:
        return true;
    default:
        return false;
    }
}

void TOnOffBut::Press()
{
    if (FGroupIndex != 0 && !FAllowAllOff && FOnOff)
        return;
    ChangeState(!FOnOff);
    if (FOnOff)
        UpdateExclusive();
}

void TOnOffBut::Release(bool Inside)
{
    // A momentary button is on only while it is held, wherever it is let go.
    if (FMode == oobmSpeedBut)
        ChangeState(false);
    if (Inside)
        TGraphicControl::Click();
}

void TOnOffBut::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && ActsAt(X, Y))
        Press();
}

void TOnOffBut::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && FMouseAction != oomaNone)
        Release(ActsAt(X, Y));
}

void TOnOffBut::KeyDown(WORD& Key, TShiftState Shift)
{
    TGraphicControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE && FMouseAction != oomaNone) {
        Press();
        UseKey();
    }
}

void TOnOffBut::KeyUp(WORD& Key, TShiftState Shift)
{
    TGraphicControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE && FMouseAction != oomaNone) {
        Release(true);
        UseKey();
    }
}

void TOnOffBut::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space && e->isAutoRepeat())
        e->accept();
    else
        TGraphicControl::keyPressEvent(e);
}

void TOnOffBut::keyReleaseEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space && e->isAutoRepeat())
        e->accept();
    else
        TGraphicControl::keyReleaseEvent(e);
}

// ---------------------------------------------------------------------------------------------
// Accessibility and Assign

QAccessible::Role TOnOffBut::AccessibleRole() const
{
    return FGroupIndex != 0 ? QAccessible::RadioButton : QAccessible::CheckBox;
}

QString TOnOffBut::AccessibleName() const
{
    QStringList captions;
    for (const QString& s : {FLeftText, FTopText, FRightText, FBottomText})
        if (!s.trimmed().isEmpty())
            captions << s.trimmed();
    return captions.join(QLatin1Char(' '));
}

void TOnOffBut::AccessibleState(QAccessible::State& s) const
{
    s.checkable = true;
    s.checked = FOnOff;
}

QStringList TOnOffBut::AccessibleActions() const
{
    if (FMouseAction == oomaNone || !isEnabled())
        return {};
    return {QAccessibleActionInterface::toggleAction()};
}

void TOnOffBut::DoAccessibleAction(const QString& Action)
{
    if (Action != QAccessibleActionInterface::toggleAction() || FMouseAction == oomaNone || !isEnabled())
        return;
    Press();
    Release(true);
}

void TOnOffBut::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TOnOffBut*>(Source);
    if (!src) {
        TGraphicControl::Assign(Source);
        return;
    }
    if (src == this)
        return;
    FLeftSpace = src->FLeftSpace;
    FTopSpace = src->FTopSpace;
    FAutoCenter = src->FAutoCenter;
    FLeftText = src->FLeftText;
    FTopText = src->FTopText;
    FBottomText = src->FBottomText;
    FRightText = src->FRightText;
    FLTAlignment = src->FLTAlignment;
    FTTAlignment = src->FTTAlignment;
    FBTAlignment = src->FBTAlignment;
    FRTAlignment = src->FRTAlignment;
    FFrameStyle = src->FFrameStyle;
    FColorBakG = src->FColorBakG;
    FColBlackLine = src->FColBlackLine;
    FColGrayLine = src->FColGrayLine;
    FColWhiteLine = src->FColWhiteLine;
    FColorScheme = src->FColorScheme;
    for (size_t i = 0; i < 4; ++i) {
        FButImg[i].Assign(src->FButImg[i]);
        FUserImg[i].Assign(src->FUserImg[i]);
    }
    FButStyle = src->FButStyle;
    FMouseAction = src->FMouseAction;
    FColorTxt = src->FColorTxt;
    FGlyphWidth = src->FGlyphWidth;
    FGlyphHeight = src->FGlyphHeight;
    SetTransparent(src->FTransParent);
    setEnabled(!src->testAttribute(Qt::WA_Disabled));
    ChangeState(src->FOnOff);
    Invalidate();
}

void TOnOffBut::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TOnOffBut>(Dest))
        TGraphicControl::AssignTo(Dest);
}

} // namespace qor
