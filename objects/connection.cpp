#include "objects/connection.h"

#include <algorithm>
#include <limits>

#include "objects/bstr_view.h"
#include "objects/method_guard.h"
#include "objects/recordset.h"

namespace orvanta::objects {
namespace {

constexpr std::u16string_view kSource = u"ADODB.Connection";

LONG ClampToLong(std::int64_t value) {
    return static_cast<LONG>(std::clamp<std::int64_t>(value, std::numeric_limits<LONG>::min(),
                                                      std::numeric_limits<LONG>::max()));
}

void PutText(std::u16string_view text, BSTR* out) {
    RequireOut(out);
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!*out) throw std::bad_alloc();
}

}  // namespace

Connection::~Connection() { EndSession(); }

// Memory kept for the results of this connection's queries goes with it.
void Connection::EndSession() {
    m_session.reset();
    providers::ResultSet::ReleaseCachedBlocks();
}

template <class Body>
HRESULT Connection::Guard(Body&& body) {
    return Guarded(IID_Connection15, kSource, std::forward<Body>(body));
}

HRESULT Connection::get_ConnectionString(BSTR* text) {
    return Guard([&] {
        PutText(m_connectionString, text);
        return S_OK;
    });
}

HRESULT Connection::put_ConnectionString(BSTR text) {
    return Guard([&] {
        if (m_session) Fail(adErrObjectOpen);
        m_connectionString = View(text);
        return S_OK;
    });
}

HRESULT Connection::get_CommandTimeout(LONG* seconds) {
    return Guard([&] {
        RequireOut(seconds);
        *seconds = m_commandTimeout;
        return S_OK;
    });
}

HRESULT Connection::put_CommandTimeout(LONG seconds) {
    return Guard([&] {
        if (seconds < 0) Fail(adErrInvalidArgument);
        m_commandTimeout = seconds;
        if (m_session) m_session->SetCommandTimeout(seconds);
        return S_OK;
    });
}

HRESULT Connection::get_ConnectionTimeout(LONG* seconds) {
    return Guard([&] {
        RequireOut(seconds);
        *seconds = m_connectionTimeout;
        return S_OK;
    });
}

HRESULT Connection::put_ConnectionTimeout(LONG seconds) {
    return Guard([&] {
        if (seconds < 0) Fail(adErrInvalidArgument);
        if (m_session) Fail(adErrObjectOpen);
        m_connectionTimeout = seconds;
        return S_OK;
    });
}

HRESULT Connection::Open(BSTR connectionString, BSTR userId, BSTR password, LONG /*options*/) {
    return Guard([&] {
        if (m_session) Fail(adErrObjectOpen);
        const std::u16string text = SysStringLen(connectionString) ? std::u16string(View(connectionString))
                                                                   : m_connectionString;
        providers::ConnectionString properties = providers::ConnectionString::Parse(text);
        if (SysStringLen(userId)) properties.Set(u"User ID", View(userId));
        if (SysStringLen(password)) properties.Set(u"Password", View(password));

        const providers::SessionOptions options{
            properties.Seconds(u"Connect Timeout", m_connectionTimeout),
            properties.Seconds(u"Command Timeout", m_commandTimeout),
        };
        const providers::ProviderEntry* provider = providers::FindProvider(properties);
        if (!provider) Fail(adErrProviderNotFound);
        m_session = provider->open(properties, options);
        m_connectionString = text;
        return S_OK;
    });
}

HRESULT Connection::Close() {
    return Guard([&] {
        if (!m_session) Fail(adErrObjectClosed);
        EndSession();
        return S_OK;
    });
}

HRESULT Connection::Execute(BSTR commandText, VARIANT* recordsAffected, LONG options, _Recordset** recordset) {
    return Guard([&] {
        if (recordset) *recordset = nullptr;
        if (!m_session) Fail(adErrObjectClosed);
        if (SysStringLen(commandText) == 0) Fail(DB_E_NOCOMMAND, u"Command text was not set for the command object.");
        std::int64_t affected = -1;
        if (options != adOptionUnspecified && (options & adExecuteNoRecords)) {
            affected = m_session->Execute(View(commandText));
        } else {
            // The rows come back in a Recordset, closed when the command returns none; the engines
            // tell no count for such a command, so RecordsAffected stays -1.
            auto rows = com::MakeCom<Recordset>();
            rows->putref_ActiveConnection(static_cast<_Connection*>(this));
            rows->OpenOn(*m_session, View(commandText));
            if (recordset) *recordset = rows.Detach();
        }
        if (recordsAffected) {
            VariantClear(recordsAffected);
            recordsAffected->vt = VT_I4;
            recordsAffected->lVal = ClampToLong(affected);
        }
        return S_OK;
    });
}

HRESULT Connection::get_CursorLocation(CursorLocationEnum* location) {
    return Guard([&] {
        RequireOut(location);
        *location = m_cursorLocation;
        return S_OK;
    });
}

HRESULT Connection::put_CursorLocation(CursorLocationEnum location) {
    return Guard([&] {
        if (location != adUseServer && location != adUseClient && location != adUseNone) Fail(adErrInvalidArgument);
        m_cursorLocation = location;
        return S_OK;
    });
}

HRESULT Connection::get_State(LONG* state) {
    return Guard([&] {
        RequireOut(state);
        *state = m_session ? adStateOpen : adStateClosed;
        return S_OK;
    });
}

HRESULT Connection::InterfaceSupportsErrorInfo(REFIID iid) {
    return iid == IID_Connection15 || iid == IID__Connection ? S_OK : S_FALSE;
}

}  // namespace orvanta::objects
