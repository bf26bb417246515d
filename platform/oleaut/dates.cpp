// VARIANT dates and their calendar fields.
#include <oleauto.h>

#include "calendar/ole_date.h"

HRESULT VarUdateFromDate(DATE date, ULONG /*flags*/, UDATE* udate) {
    if (!udate) return E_INVALIDARG;
    const auto civil = orvanta::calendar::CivilFromOleDate(date);
    if (!civil) return E_INVALIDARG;
    udate->st.wYear = static_cast<WORD>(civil->year);
    udate->st.wMonth = static_cast<WORD>(civil->month);
    udate->st.wDay = static_cast<WORD>(civil->day);
    udate->st.wDayOfWeek = static_cast<WORD>(civil->dayOfWeek);
    udate->st.wHour = static_cast<WORD>(civil->hour);
    udate->st.wMinute = static_cast<WORD>(civil->minute);
    udate->st.wSecond = static_cast<WORD>(civil->second);
    udate->st.wMilliseconds = 0;
    udate->wDayOfYear = static_cast<USHORT>(civil->dayOfYear);
    return S_OK;
}

HRESULT VarDateFromUdate(UDATE* udate, ULONG /*flags*/, DATE* date) {
    if (!udate || !date) return E_INVALIDARG;
    const SYSTEMTIME& st = udate->st;
    const auto value = orvanta::calendar::OleDateFromCivil(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
                                                           st.wSecond, st.wMilliseconds / 1000.0);
    if (!value) return E_INVALIDARG;
    *date = *value;
    return S_OK;
}
