// The Connection object: one provider session, opened from a connection string.
#pragma once

#include <memory>
#include <string>

#include "com/object.h"
#include "objects/unimplemented.h"
#include "providers/provider.h"

namespace orvanta::objects {

// How our Recordset reaches the session behind a Connection it is given.
struct ISessionSource : IUnknown {
    static constexpr IID Iid{0x6F72766E, 0x7461, 0x4001, {0x9C, 0x21, 0x53, 0x65, 0x73, 0x73, 0x69, 0x6F}};
    using Base = IUnknown;

    // Null while the connection is closed.
    virtual providers::Session* ActiveSession() = 0;
};

class Connection final : public com::ApartmentObject<Connection, UnimplementedConnection, ISupportErrorInfo, ISessionSource> {
public:
    ~Connection();

    HRESULT get_ConnectionString(BSTR* text) override;
    HRESULT put_ConnectionString(BSTR text) override;
    HRESULT get_CommandTimeout(LONG* seconds) override;
    HRESULT put_CommandTimeout(LONG seconds) override;
    HRESULT get_ConnectionTimeout(LONG* seconds) override;
    HRESULT put_ConnectionTimeout(LONG seconds) override;
    HRESULT Close() override;
    HRESULT Execute(BSTR commandText, VARIANT* recordsAffected, LONG options, _Recordset** recordset) override;
    HRESULT Open(BSTR connectionString, BSTR userId, BSTR password, LONG options) override;
    HRESULT get_CursorLocation(CursorLocationEnum* location) override;
    HRESULT put_CursorLocation(CursorLocationEnum location) override;
    HRESULT get_State(LONG* state) override;

    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

    providers::Session* ActiveSession() override { return m_session.get(); }

private:
    template <class Body>
    HRESULT Guard(Body&& body);
    void EndSession();

    std::unique_ptr<providers::Session> m_session;
    std::u16string m_connectionString;
    CursorLocationEnum m_cursorLocation = adUseServer;
    LONG m_commandTimeout = 30;
    LONG m_connectionTimeout = 15;
};

}  // namespace orvanta::objects
