#include "support/connection_double.h"

#include "com/error_info.h"

namespace orvanta::testing {
namespace {

std::u16string Text(BSTR text) { return text ? std::u16string(text, SysStringLen(text)) : u"<null>"; }

// A recordset nobody should read: only its release is expected.
class UnreadRecordset final : public com::ComObject<UnreadRecordset, objects::UnimplementedRecordset> {};

}  // namespace

HRESULT ConnectionDouble::Result(const char* call, HRESULT result) {
    m_script.calls.push_back(call);
    if (FAILED(result)) {
        com::SetThreadErrorInfo(IID_Connection15, u"Scripted", u"scripted failure of " + std::u16string(call, call + std::char_traits<char>::length(call)));
    }
    return result;
}

HRESULT ConnectionDouble::get_State(LONG* state) {
    if (FAILED(m_script.stateResult)) return Result("State", m_script.stateResult);
    *state = m_script.state;
    return Result("State", S_OK);
}

HRESULT ConnectionDouble::Open(BSTR connectionString, BSTR userId, BSTR password, LONG options) {
    m_script.connectionString = Text(connectionString);
    m_script.userId = Text(userId);
    m_script.password = Text(password);
    m_script.openOptions = options;
    if (SUCCEEDED(m_script.openResult)) m_script.state = adStateOpen;
    return Result("Open", m_script.openResult);
}

HRESULT ConnectionDouble::Close() {
    if (SUCCEEDED(m_script.closeResult)) m_script.state = adStateClosed;
    return Result("Close", m_script.closeResult);
}

HRESULT ConnectionDouble::put_CursorLocation(CursorLocationEnum location) {
    m_script.cursorLocation = location;
    return Result("CursorLocation", m_script.cursorLocationResult);
}

HRESULT ConnectionDouble::Execute(BSTR commandText, VARIANT* recordsAffected, LONG options, _Recordset** recordset) {
    m_script.commandText = Text(commandText);
    m_script.commandTextWasNull = commandText == nullptr;
    m_script.executeOptions = options;
    if (SUCCEEDED(m_script.executeResult)) {
        if (!m_script.executeLeavesCountEmpty) {
            recordsAffected->vt = VT_I4;
            recordsAffected->lVal = m_script.recordsAffected;
        }
        if (m_script.executeReturnsRecordset) *recordset = com::MakeCom<UnreadRecordset>().Detach();
    }
    return Result("Execute", m_script.executeResult);
}

HRESULT ConnectionDouble::InterfaceSupportsErrorInfo(REFIID iid) { return iid == IID_Connection15 ? S_OK : S_FALSE; }

ScopedConnectionDouble::ScopedConnectionDouble(ConnectionScript& script)
    : m_override(CLSID_Connection, [&script](IUnknown** object) {
          *object = static_cast<_Connection*>(com::MakeCom<ConnectionDouble>(script).Detach());
          return S_OK;
      }) {}

}  // namespace orvanta::testing
