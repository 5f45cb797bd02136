#include "support/testenv.h"

#include "platform/widgets/forms.h"

#include <QCloseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// Counts its instances, as a window whose Load has side effects.
struct Counted : QWidget {
    Counted() { ++made; }
    ~Counted() override { ++gone; }
    static inline int made = 0;
    static inline int gone = 0;
};

struct Other : QWidget {};

// A window whose close can be refused, as a VB QueryUnload that cancels.
struct Stubborn : QWidget {
    bool refuse = true;
    void closeEvent(QCloseEvent* e) override {
        if (refuse)
            e->ignore();
        else
            e->accept();
    }
};

// A window that unloads itself from one of its own buttons.
struct SelfClosing : QWidget {
    SelfClosing() : button(new QPushButton(this)) {
        connect(button, &QPushButton::clicked, this, [this] {
            ui::unload<SelfClosing>();
            button->setText("still here until the event loop runs");
        });
    }
    QPushButton* button;
};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { Counted::made = Counted::gone = 0; }
    void TearDown() override {
        ui::form<Stubborn>().refuse = false;
        ui::unloadAll();
        processEvents();
    }
    TestEnv env;
};

} // namespace

TEST_F(FormsTest, TouchingLoadsHiddenOnceAndUnloadGivesAFreshWindowNextTime) {
    EXPECT_FALSE(ui::isLoaded<Counted>());
    Counted& first = ui::form<Counted>();
    EXPECT_TRUE(ui::isLoaded<Counted>());
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(&ui::form<Counted>(), &first);
    EXPECT_EQ(Counted::made, 1);

    ui::unload<Counted>();
    EXPECT_FALSE(ui::isLoaded<Counted>());
    processEvents();
    EXPECT_EQ(Counted::gone, 1);
    ui::form<Counted>();
    EXPECT_EQ(Counted::made, 2);
}

TEST_F(FormsTest, ClosingAWindowUnloadsItAtOnceUnlessItRefuses) {
    Counted& c = ui::form<Counted>();
    c.show();
    c.close();
    EXPECT_FALSE(ui::isLoaded<Counted>()); // before its deletion has run
    ui::form<Counted>();
    EXPECT_EQ(Counted::made, 2);

    Stubborn& s = ui::form<Stubborn>();
    s.show();
    ui::unload<Stubborn>();
    EXPECT_TRUE(ui::isLoaded<Stubborn>());
    EXPECT_EQ(&ui::form<Stubborn>(), &s);
    s.refuse = false;
    ui::unload<Stubborn>();
    EXPECT_FALSE(ui::isLoaded<Stubborn>());
}

TEST_F(FormsTest, UnloadAllSparesTheGivenWindowAndOwnedWindowsGoWithTheirOwner) {
    Other& main = ui::form<Other>();
    ui::form<Counted>();
    ui::form<SelfClosing>();
    ui::unloadAll(&main);
    EXPECT_TRUE(ui::isLoaded<Other>());
    EXPECT_FALSE(ui::isLoaded<Counted>());
    EXPECT_FALSE(ui::isLoaded<SelfClosing>());
    processEvents();
    EXPECT_EQ(Counted::gone, 1);

    // An owned window shown modeless keeps its size and is deleted with its owner.
    Counted& owned = ui::form<Counted>();
    owned.resize(321, 123);
    ui::showOwned(&owned, &main);
    EXPECT_EQ(owned.parentWidget(), &main);
    EXPECT_TRUE(owned.isWindow());
    EXPECT_EQ(owned.size(), QSize(321, 123));
    delete &main;
    EXPECT_FALSE(ui::isLoaded<Counted>());
    EXPECT_FALSE(ui::isLoaded<Other>());
}

TEST_F(FormsTest, AWindowMayUnloadItselfFromItsOwnHandler) {
    SelfClosing& w = ui::form<SelfClosing>();
    w.show();
    w.button->click();
    EXPECT_FALSE(ui::isLoaded<SelfClosing>());
    EXPECT_NE(&ui::form<SelfClosing>(), &w);
}
