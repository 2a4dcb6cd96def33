// The server page against a fake library: what it passes to the library and
// in which order, and what each callback leaves on the page, in the settings,
// the translation list and the status bar.
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <sstream>

#include "FakeTamrixSdk.h"
#include "Q9ServerPage.h"
#include "StatusBarCtrl.h"
#include "TranslationList.h"

namespace {

using Calls = std::vector<std::string>;

class ServerPageTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        m_fake.Reset();
        m_statusBar.SetText(1, QStringLiteral("D9 Ividiv: Not synchronized"));
    }

    std::unique_ptr<CQ9ServerPage> MakePage()
    {
        auto page = std::make_unique<CQ9ServerPage>();
        page->SetTranslations(&m_translations);
        page->SetStatusBar(&m_statusBar);
        page->SetSettings(&m_login);
        return page;
    }
    static QLineEdit* Field(CQ9ServerPage& page, const char* name)
    {
        return page.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void Fill(CQ9ServerPage& page, const char* host, const char* user, const char* password)
    {
        Field(page, "host")->setText(QString::fromLatin1(host));
        Field(page, "user")->setText(QString::fromLatin1(user));
        Field(page, "password")->setText(QString::fromLatin1(password));
    }
    static void Synchronize(CQ9ServerPage& page)
    {
        page.findChild<QPushButton*>(QStringLiteral("synchronize"))->click();
    }
    static std::string Status(CQ9ServerPage& page) { return Field(page, "status")->text().toStdString(); }
    std::string Pane1() const { return m_statusBar.GetText(1).toStdString(); }
    // The list as "number shortId label|" items.
    std::string List() const
    {
        std::ostringstream list;
        for (const CTranslation& item : m_translations.Items())
            list << item.number << ' ' << item.shortId << ' ' << item.label << '|';
        return list.str();
    }

    CFakeTamrixSdk& m_fake = CFakeTamrixSdk::Instance();
    CTranslationList m_translations;
    CStatusBarCtrl m_statusBar;
    serverlogin_t m_login;
};

Calls OneStart(const std::string& handle, const std::string& connect)
{
    return {"ptc_handle_alloc(100)",
            "ptc_notify_connect(" + handle + ")",
            "ptc_notify_connectionstate(" + handle + ")",
            "ptc_notify_transponder(" + handle + ")",
            "ptc_objectdata_subscribe(" + handle + ",6)",
            "ptc_connect(" + handle + "," + connect + ",1)"};
}

} // namespace

TEST_F(ServerPageTest, EachPressStartsOverOnANewHandleAndTheTeardownReleasesInOrder)
{
    m_login = {"ividiv.example:8443", "tech"};
    auto page = MakePage();
    EXPECT_EQ(Field(*page, "host")->text(), QStringLiteral("ividiv.example:8443"));
    EXPECT_EQ(Field(*page, "user")->text(), QStringLiteral("tech"));
    EXPECT_EQ(Field(*page, "password")->text(), QString());
    EXPECT_EQ(Field(*page, "password")->echoMode(), QLineEdit::Password);

    Field(*page, "password")->setText(QStringLiteral("s3cret"));
    Synchronize(*page);
    EXPECT_EQ(Status(*page), "Trying to open connection...");
    Fill(*page, "second.example", "other", "pw");
    Synchronize(*page);
    page->OnTimer();
    EXPECT_EQ(m_fake.pumps, 1);
    EXPECT_FALSE(m_fake.badPumpArguments);
    page.reset();

    Calls expected{"hub_sdk_alloc(Q9 Tester,0)"};
    for (const Calls& part :
         {OneStart("1", "ividiv.example,tech,s3cret"), Calls{"ptc_handle_dealloc(100,1)"},
          OneStart("2", "second.example,other,pw"),
          Calls{"ptc_disconnect(2)", "ptc_handle_dealloc(100,2)", "hub_sdk_dealloc(100)"}})
        expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(m_fake.calls, expected);
}

TEST_F(ServerPageTest, StatesShowTheirTextsAndOnlyAConnectStoresTheFieldsPressedWith)
{
    m_login = {"old.example", "old"};
    auto page = MakePage();
    Fill(*page, "ividiv.example:8443", "tech", "pw");
    Synchronize(*page);
    // Nothing arrives outside the pump.
    m_fake.Queue('s', 1);
    EXPECT_EQ(Status(*page), "Trying to open connection...");

    const std::pair<int32_t, const char*> states[] = {{1, "Trying to connect to selected host"},
                                                      {2, "Failed to open connection"},
                                                      {3, "Trying to authenticate the user"},
                                                      {4, "Invalid user name or password specified"}};
    for (const auto& [state, text] : states) {
        m_fake.Queue('s', state);
        page->OnTimer();
        EXPECT_EQ(Status(*page), text);
    }
    m_fake.Queue('s', 5);
    m_fake.Queue('s', 1, false); // no context: nothing to act on
    m_fake.Queue('c', 0);
    page->OnTimer();
    EXPECT_EQ(Status(*page), "Invalid user name or password specified");
    EXPECT_EQ(m_login.host, "old.example");
    EXPECT_EQ(m_login.login, "old");

    // Edited while connecting: the texts the connection was started with are kept.
    Fill(*page, "typo", "typo", "");
    m_fake.Queue('c', 1);
    page->OnTimer();
    EXPECT_EQ(Status(*page), "Successfully connected");
    EXPECT_EQ(m_login.host, "ividiv.example:8443");
    EXPECT_EQ(m_login.login, "tech");

    // A connection the library does not start is a failed one.
    m_fake.refuseConnect = true;
    Synchronize(*page);
    EXPECT_EQ(Status(*page), "Failed to open connection");
}

TEST_F(ServerPageTest, ACompleteRecordSetReplacesTheListAndAFailureLaterKeepsIt)
{
    m_translations.AddTail({1, 1, "stale"});
    auto page = MakePage();
    m_fake.SetRecords({{5, 7, "Car 7, a label longer than the declared array"},
                       {6, PTC_SHORT_ID_NONE, "No short id"},
                       {5, 9, "Second record of 5"}});
    Synchronize(*page);
    m_fake.Queue('t', 1); // not the complete set
    page->OnTimer();
    EXPECT_EQ(List(), "1 1 stale|");
    EXPECT_EQ(Pane1(), "D9 Ividiv: Not synchronized");

    m_fake.Queue('t', PTC_TRANSPONDER_COMPLETE);
    page->OnTimer();
    EXPECT_EQ(List(),
              "5 7 Car 7, a label longer than the declared array|6 0 No short id|5 9 Second record of 5|");
    EXPECT_TRUE(std::regex_match(Pane1(), std::regex(R"(D9 Ividiv: \d\d-\d\d-\d{4} \d\d:\d\d:\d\d)")))
        << Pane1();
    EXPECT_EQ(Status(*page), "Transponder data synchronized with server");
    EXPECT_EQ(m_fake.calls.back(), "ptc_disconnect(1)");

    m_statusBar.SetText(1, QStringLiteral("D9 Ividiv: earlier"));
    Synchronize(*page);
    m_fake.Queue('s', 2);
    page->OnTimer();
    EXPECT_EQ(m_translations.GetCount(), 3u);
    EXPECT_EQ(Pane1(), "D9 Ividiv: earlier");

    // A server without transponders empties the list, and says so as any other.
    m_fake.SetRecords({});
    Synchronize(*page);
    m_fake.Queue('t', PTC_TRANSPONDER_COMPLETE);
    page->OnTimer();
    EXPECT_EQ(m_translations.GetCount(), 0u);
    EXPECT_EQ(Status(*page), "Transponder data synchronized with server");
    EXPECT_NE(Pane1(), "D9 Ividiv: earlier");
}

TEST_F(ServerPageTest, GainingTheFocusGoesToTheFirstEmptyFieldElseThePassword)
{
    for (const auto& [stored, field] : {std::pair<serverlogin_t, const char*>{{"", ""}, "host"},
                                        {{"ividiv.example", ""}, "user"},
                                        {{"ividiv.example", "tech"}, "password"}}) {
        m_login = stored;
        auto page = MakePage();
        page->show();
        QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
        QApplication::sendEvent(page.get(), &focus);
        EXPECT_EQ(page->focusWidget(), Field(*page, field)) << field;
    }
}
