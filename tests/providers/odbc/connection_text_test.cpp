#include <gtest/gtest.h>

#include "providers/error.h"
#include "providers/odbc/connection_text.h"
#include "support/text.h"

namespace orvanta::providers::odbc {
namespace {

using testing::U16;
using testing::U8;

// What the driver manager receives for a connection string, and which password it masks.
TEST(OdbcConnectionText, PassesKeysOnInOdbcQuoting) {
    struct Case {
        const char* label;
        const char* input;
        const char* text;
        const char* password;
    };
    const Case cases[] = {
        {"as given", "DSN=sales;UID=amy;PWD=secret;Trusted=yes", "DSN=sales;UID=amy;PWD=secret;Trusted=yes", "secret"},
        {"object layer keys dropped", "Provider=MSDASQL;DSN=sales;Connect Timeout=5;command timeout=9", "DSN=sales", ""},
        {"ADO login names", "DSN=sales;User ID=amy;Password=secret", "DSN=sales;UID=amy;PWD=secret", "secret"},
        {"ODBC names win over ADO ones", "User ID=ann;UID=amy;Password=x;PWD=secret", "UID=amy;PWD=secret", "secret"},
        {"driver braced", "Driver={PostgreSQL Unicode};Server=db", "Driver={PostgreSQL Unicode};Server=db", ""},
        {"driver path braced", "DRIVER=/usr/lib/odbc/x.so", "DRIVER={/usr/lib/odbc/x.so}", ""},
        {"semicolon braced", "DSN=a;PWD='p;DSN=evil'", "DSN=a;PWD={p;DSN=evil}", "p;DSN=evil"},
        {"closing brace doubled", "PWD={a}}b;c}", "PWD={a}}b;c}", "a}b;c"},
        {"brace cannot close early", "PWD={x}};DSN=evil}", "PWD={x}};DSN=evil}", "x};DSN=evil"},
        {"opening brace braced", "PWD=\"{x\"", "PWD={{x}", "{x"},
        {"edge blanks kept", "PWD=' pw '", "PWD={ pw }", " pw "},
        {"equals sign needs nothing", "PWD='a=b'", "PWD=a=b", "a=b"},
        {"empty value", "DSN=a;PWD=", "DSN=a;PWD=", ""},
        {"nothing left", "Provider=MSDASQL", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const ConnectionText text = MakeConnectionText(ConnectionString::Parse(U16(c.input)));
        EXPECT_EQ(U8(text.text), c.text);
        EXPECT_EQ(U8(text.password), c.password);
    }
}

TEST(OdbcConnectionText, RefusesWhatCannotBeQuoted) {
    ConnectionString nul = ConnectionString::Parse(u"DSN=a");
    nul.Set(u"PWD", std::u16string(u"a\0b", 3));
    ConnectionString brace;
    brace.Set(u"{key", u"1");
    ConnectionString huge;
    huge.Set(u"DSN", std::u16string(40000, u'x'));
    for (const ConnectionString* properties : {&nul, &brace, &huge}) {
        try {
            MakeConnectionText(*properties);
            ADD_FAILURE() << "accepted " << U8(properties->Entries().back().key);
        } catch (const ProviderError& error) {
            EXPECT_EQ(error.Kind(), ErrorKind::InvalidArgument);
        }
    }
}

}  // namespace
}  // namespace orvanta::providers::odbc
