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

    void MakePage()
    {
        m_page = std::make_unique<CQ9ServerPage>();
        m_page->SetTranslations(&m_translations);
        m_page->SetStatusBar(&m_statusBar);
        m_page->SetSettings(&m_login);
    }
    QLineEdit* Field(const char* name) { return m_page->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    // Fills the fields and presses "Synchronize".
    void Synchronize(const char* host, const char* user, const char* password)
    {
        Field("host")->setText(QString::fromLatin1(host));
        Field("user")->setText(QString::fromLatin1(user));
        Field("password")->setText(QString::fromLatin1(password));
        Synchronize();
    }
    void Synchronize() { m_page->findChild<QPushButton*>(QStringLiteral("synchronize"))->click(); }
    // Queues a callback and lets the page's pump run it.
    void Deliver(char kind, uint32_t value)
    {
        m_fake.Queue(kind, value);
        m_page->OnTimer();
    }
    std::string Status() { return Field("status")->text().toStdString(); }
    std::string Pane1() const { return m_statusBar.GetText(1).toStdString(); }
    // The list as "number shortId label|" items.
    std::string List() const
    {
        std::ostringstream list;
        for (const CTranslation& item : m_translations.Items())
            list << item.number << ' ' << item.shortId << ' ' << item.label << '|';
        return list.str();
    }

    CFakeTamrixSdk& m_fake = g_fakeTamrixSdk;
    CTranslationList m_translations;
    CStatusBarCtrl m_statusBar;
    serverlogin_t m_login;
    std::unique_ptr<CQ9ServerPage> m_page;
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
    MakePage();
    EXPECT_EQ(Field("host")->text() + '|' + Field("user")->text() + '|' + Field("password")->text(),
              QStringLiteral("ividiv.example:8443|tech|"));
    EXPECT_EQ(Field("password")->echoMode(), QLineEdit::Password);

    Synchronize("ividiv.example:8443", "tech", "s3cret");
    EXPECT_EQ(Status(), "Trying to open connection...");
    Synchronize("second.example", "other", "pw");
    m_page->OnTimer();
    m_page.reset();

    Calls expected{"hub_sdk_alloc(Q9 Tester,0)"};
    for (const Calls& part : {OneStart("1", "ividiv.example,tech,s3cret"), Calls{"ptc_handle_dealloc(100,1)"},
                              OneStart("2", "second.example,other,pw"),
                              Calls{"hub_sdk_messagequeue_process(100,0,0,0)", "ptc_disconnect(2)",
                                    "ptc_handle_dealloc(100,2)", "hub_sdk_dealloc(100)"}})
        expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(m_fake.calls, expected);
}

TEST_F(ServerPageTest, StatesShowTheirTextsAndOnlyAConnectStoresTheFieldsPressedWith)
{
    m_login = {"old.example", "old"};
    MakePage();
    Synchronize("ividiv.example:8443", "tech", "pw");
    // Nothing arrives outside the pump.
    m_fake.Queue('s', 1);
    EXPECT_EQ(Status(), "Trying to open connection...");

    const std::pair<int32_t, const char*> states[] = {{1, "Trying to connect to selected host"},
                                                      {2, "Failed to open connection"},
                                                      {3, "Trying to authenticate the user"},
                                                      {4, "Invalid user name or password specified"}};
    for (const auto& [state, text] : states) {
        Deliver('s', state);
        EXPECT_EQ(Status(), text);
    }
    m_fake.Queue('s', 5);
    Deliver('c', 0);
    EXPECT_EQ(Status(), "Invalid user name or password specified");
    EXPECT_EQ(m_login.host + ' ' + m_login.login, "old.example old");

    // Edited while connecting: the texts the connection was started with are kept.
    Field("host")->setText(QStringLiteral("typo"));
    Field("user")->setText(QStringLiteral("typo"));
    Deliver('c', 1);
    EXPECT_EQ(Status(), "Successfully connected");
    EXPECT_EQ(m_login.host + ' ' + m_login.login, "ividiv.example:8443 tech");

    // A connection the library does not start is a failed one.
    m_fake.refuseConnect = true;
    Synchronize();
    EXPECT_EQ(Status(), "Failed to open connection");
}

TEST_F(ServerPageTest, ACompleteRecordSetReplacesTheListAndAFailureLaterKeepsIt)
{
    m_translations.AddTail({1, 1, "stale"});
    MakePage();
    m_fake.SetRecords({{5, 7, "Car 7, a label longer than the declared array"},
                       {6, PTC_SHORT_ID_NONE, "No short id"},
                       {5, 9, "Second record of 5"}});
    Synchronize();
    Deliver('t', 1); // not the complete set
    EXPECT_EQ(List(), "1 1 stale|");
    EXPECT_EQ(Pane1(), "D9 Ividiv: Not synchronized");

    Deliver('t', PTC_TRANSPONDER_COMPLETE);
    EXPECT_EQ(List(),
              "5 7 Car 7, a label longer than the declared array|6 0 No short id|5 9 Second record of 5|");
    EXPECT_TRUE(std::regex_match(Pane1(), std::regex(R"(D9 Ividiv: \d\d-\d\d-\d{4} \d\d:\d\d:\d\d)")))
        << Pane1();
    EXPECT_EQ(Status(), "Transponder data synchronized with server");
    EXPECT_EQ(m_fake.calls.back(), "ptc_disconnect(1)");

    m_statusBar.SetText(1, QStringLiteral("D9 Ividiv: earlier"));
    Synchronize();
    Deliver('s', 2);
    EXPECT_EQ(m_translations.GetCount(), 3u);
    EXPECT_EQ(Pane1(), "D9 Ividiv: earlier");

    // A server without transponders empties the list, and says so as any other.
    m_fake.SetRecords({});
    Synchronize();
    Deliver('t', PTC_TRANSPONDER_COMPLETE);
    EXPECT_EQ(m_translations.GetCount(), 0u);
    EXPECT_EQ(Status(), "Transponder data synchronized with server");
    EXPECT_NE(Pane1(), "D9 Ividiv: earlier");
}

TEST_F(ServerPageTest, GainingTheFocusGoesToTheFirstEmptyFieldElseThePassword)
{
    for (const auto& [stored, field] : {std::pair<serverlogin_t, const char*>{{"", ""}, "host"},
                                        {{"ividiv.example", ""}, "user"},
                                        {{"ividiv.example", "tech"}, "password"}}) {
        m_login = stored;
        MakePage();
        m_page->show();
        QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
        QApplication::sendEvent(m_page.get(), &focus);
        EXPECT_EQ(m_page->focusWidget(), Field(field)) << field;
    }
}
