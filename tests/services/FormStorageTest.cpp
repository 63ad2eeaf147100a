#include "services/FormStorage.h"

#include "services/IniFileStore.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace tavrin;

namespace {

constexpr TColor DesignGreen{0x008000};

class FormStorageTest : public ::testing::Test
{
  protected:
    FormStorageTest() { Form.setGeometry(300, 263, 892, 746); }

    TFormStorage Storage(TIniStore& store)
    {
        return TFormStorage(store, Form, {[this] { return Color; }, [this](TColor c) { Color = c; }});
    }

    TScreenMetrics Screen{QSize(1024, 768), 96, {QRect(0, 0, 1024, 728)}};
    QWidget Form;
    TColor Color = DesignGreen;
};

} // namespace

TEST_F(FormStorageTest, ColourIsStoredByNameOrNumber)
{
    struct Case
    {
        TColor Color;
        const char* Text;
    };
    const Case cases[] = {{DesignGreen, "clGreen"},      {clRed, "clRed"},
                          {clBlack, "clBlack"},          {TColor{0xC0DCC0}, "clMoneyGreen"},
                          {TColor{0x563412}, "5649426"}, {TColor{0x0080FF}, "33023"}};
    for (const Case& c : cases) {
        TIniStore store;
        Color = c.Color;
        Storage(store).Save(Screen);
        EXPECT_EQ(store.Value("MainForm", "ColorDialog_Color"), c.Text);

        Color = DesignGreen;
        Storage(store).Restore(Screen);
        EXPECT_EQ(Color, c.Color) << c.Text;
    }
}

TEST_F(FormStorageTest, UnreadableColoursAreIgnored)
{
    for (const char* text : {"clBtnFace", "", "green", "-1", "16777216", "$1FFFFFFF", "12x"}) {
        TIniStore store;
        store.WriteString("MainForm", "ColorDialog_Color", text);
        Color = DesignGreen;
        Storage(store).Restore(Screen);
        EXPECT_EQ(Color, DesignGreen) << text;
    }
    TIniStore store = TIniStore::Parse("[MainForm]\ncolordialog_color=CLRED\n");
    Storage(store).Restore(Screen);
    EXPECT_EQ(Color, clRed);
    store.WriteString("MainForm", "ColorDialog_Color", "$FF0000");
    Storage(store).Restore(Screen);
    EXPECT_EQ(ColorValue(Color), 0xFF0000u);
}

TEST_F(FormStorageTest, WithoutAStoredPlacementTheWindowIsStillKeptOnTheScreen)
{
    struct Case
    {
        QRect WorkArea;
        QRect Expected;
    };
    const Case cases[] = {
        {QRect(0, 0, 1600, 1000), QRect(300, 254, 892, 746)}, // bottom edge was at 1009
        {QRect(0, 0, 1366, 740), QRect(300, 0, 892, 740)},
        {QRect(0, 0, 1920, 1040), QRect(300, 263, 892, 746)}, // fits: untouched
    };
    for (const Case& c : cases) {
        Form.setGeometry(300, 263, 892, 746);
        TIniStore store;
        Storage(store).Restore({QSize(c.WorkArea.width(), c.WorkArea.height()), 96, {c.WorkArea}});
        EXPECT_EQ(Form.geometry(), c.Expected) << c.WorkArea.width();
    }
}

TEST_F(FormStorageTest, OtherPixelsPerInchRestoresTheColourButNotThePlacement)
{
    TIniStore store = TIniStore::Parse("[MainForm]\nPixelsPerInch=120\nNormPos=10,20,1000,700\n"
                                       "ColorDialog_Color=clRed\n");
    Storage(store).Restore(Screen);
    EXPECT_EQ(Form.geometry(), QRect(132, 0, 892, 728)); // the design place, kept on the screen
    EXPECT_EQ(Color, clRed);

    Screen.PixelsPerInch = 120;
    Storage(store).Restore(Screen);
    EXPECT_EQ(Form.geometry(), QRect(10, 20, 990, 680));
}

TEST_F(FormStorageTest, EachStepRunsOnce)
{
    TIniStore store = TIniStore::Parse("[MainForm]\nNormPos=10,20,1000,800\n");
    TFormStorage storage = Storage(store);
    storage.Restore(Screen);
    Form.setGeometry(1, 2, 300, 400);
    storage.Restore(Screen);
    EXPECT_EQ(Form.geometry(), QRect(1, 2, 300, 400));

    storage.Save(Screen); // on close
    Form.setGeometry(5, 5, 300, 400);
    Color = clRed;
    storage.Save(Screen); // again while being destroyed: no effect
    EXPECT_EQ(store.Value("MainForm", "NormPos"), "1,2,301,402");
    EXPECT_EQ(store.Value("MainForm", "ColorDialog_Color"), "clGreen");
}
