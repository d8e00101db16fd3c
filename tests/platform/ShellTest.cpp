// The home-page link hands the address to the desktop, exactly as given,
// once per call.

#include "platform/Shell.h"

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

#include <gtest/gtest.h>

namespace zw::test {
namespace {

// Stands in for the browser: the desktop calls it for every http address.
class Browser : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;

public slots:
    void record(const QUrl& url) { opened.append(url); }
};

class ShellTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { QDesktopServices::setUrlHandler("http", &browser, "record"); }
    void TearDown() override { QDesktopServices::unsetUrlHandler("http"); }

    Browser browser;
};

TEST_P(ShellTest, OpensTheAddressOncePerCall)
{
    const QString address = QString::fromUtf8(GetParam());
    platform::openInBrowser(address);
    platform::openInBrowser(address);

    ASSERT_EQ(browser.opened.size(), 2);
    EXPECT_EQ(browser.opened[0], QUrl(address));
    EXPECT_EQ(browser.opened[1], QUrl(address));
    EXPECT_EQ(browser.opened[0].toString(), address);
}

// The addresses below, in their order, by what each holds.
const char* const AddressNames[] = {"AHostAlone", "APathAndAQuery", "APortAndAFragment"};

INSTANTIATE_TEST_SUITE_P(Addresses, ShellTest,
                         ::testing::Values("http://www.zigwalk.example/",
                                           "http://zigwalk.example/guestbook?lang=cs&level=12",
                                           "http://zigwalk.example:8080/hra/index.html#menu"),
                         [](const auto& info) { return std::string(AddressNames[info.index]); });

} // namespace
} // namespace zw::test

#include "ShellTest.moc"
