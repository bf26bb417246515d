// Enumerations and error values of the ADO object model, with the platform's values.
#pragma once

#include <cstdint>

#include <wtypes.h>

// Counts and positions are pointer-sized in the 64-bit object model.
typedef LONG_PTR ADO_LONGPTR;

enum ObjectStateEnum : LONG {
    adStateClosed = 0,
    adStateOpen = 1,
    adStateConnecting = 2,
    adStateExecuting = 4,
    adStateFetching = 8,
};

enum CursorTypeEnum : LONG {
    adOpenUnspecified = -1,
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3,
};

enum LockTypeEnum : LONG {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4,
};

enum CursorLocationEnum : LONG {
    adUseNone = 1,
    adUseServer = 2,
    adUseClient = 3,
};

enum ExecuteOptionEnum : LONG {
    adOptionUnspecified = -1,
    adAsyncExecute = 0x10,
    adAsyncFetch = 0x20,
    adAsyncFetchNonBlocking = 0x40,
    adExecuteNoRecords = 0x80,
    adExecuteStream = 0x400,
};

enum CommandTypeEnum : LONG {
    adCmdUnspecified = -1,
    adCmdText = 1,
    adCmdTable = 2,
    adCmdStoredProc = 4,
    adCmdUnknown = 8,
    adCmdFile = 0x100,
    adCmdTableDirect = 0x200,
};

enum ConnectOptionEnum : LONG {
    adConnectUnspecified = -1,
    adAsyncConnect = 0x10,
};

enum ConnectModeEnum : LONG {
    adModeUnknown = 0,
    adModeRead = 1,
    adModeWrite = 2,
    adModeReadWrite = 3,
    adModeShareDenyRead = 4,
    adModeShareDenyWrite = 8,
    adModeShareExclusive = 0xC,
    adModeShareDenyNone = 0x10,
};

enum IsolationLevelEnum : LONG {
    adXactUnspecified = -1,
    adXactChaos = 0x10,
    adXactReadUncommitted = 0x100,
    adXactReadCommitted = 0x1000,
    adXactRepeatableRead = 0x10000,
    adXactSerializable = 0x100000,
};

enum DataTypeEnum : LONG {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBSTR = 8,
    adIDispatch = 9,
    adError = 10,
    adBoolean = 11,
    adVariant = 12,
    adIUnknown = 13,
    adDecimal = 14,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adUnsignedSmallInt = 18,
    adUnsignedInt = 19,
    adBigInt = 20,
    adUnsignedBigInt = 21,
    adFileTime = 64,
    adGUID = 72,
    adBinary = 128,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adUserDefined = 132,
    adDBDate = 133,
    adDBTime = 134,
    adDBTimeStamp = 135,
    adChapter = 136,
    adPropVariant = 138,
    adVarNumeric = 139,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
    adLongVarBinary = 205,
};

enum FieldAttributeEnum : LONG {
    adFldUnspecified = -1,
    adFldMayDefer = 0x2,
    adFldUpdatable = 0x4,
    adFldUnknownUpdatable = 0x8,
    adFldFixed = 0x10,
    adFldIsNullable = 0x20,
    adFldMayBeNull = 0x40,
    adFldLong = 0x80,
};

enum PositionEnum : LONG {
    adPosUnknown = -1,
    adPosBOF = -2,
    adPosEOF = -3,
};
typedef ADO_LONGPTR PositionEnum_Param;

enum AffectEnum : LONG { adAffectCurrent = 1, adAffectGroup = 2, adAffectAll = 3, adAffectAllChapters = 4 };
enum EditModeEnum : LONG { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2, adEditDelete = 4 };
enum CursorOptionEnum : LONG { adHoldRecords = 0x100, adMovePrevious = 0x200, adBookmark = 0x2000 };
enum MarshalOptionsEnum : LONG { adMarshalAll = 0, adMarshalModifiedOnly = 1 };
enum SearchDirectionEnum : LONG { adSearchForward = 1, adSearchBackward = -1 };
enum PersistFormatEnum : LONG { adPersistADTG = 0, adPersistXML = 1 };
enum StringFormatEnum : LONG { adClipString = 2 };
enum CompareEnum : LONG { adCompareLessThan = 0, adCompareEqual = 1, adCompareGreaterThan = 2 };
enum ResyncEnum : LONG { adResyncUnderlyingValues = 1, adResyncAllValues = 2 };
enum SeekEnum : LONG { adSeekFirstEQ = 1, adSeekLastEQ = 2, adSeekAfterEQ = 4 };
enum SchemaEnum : LONG { adSchemaTables = 20, adSchemaColumns = 4 };

// Errors that the objects themselves raise; as HRESULTs they carry the facility 0x800A.
enum ErrorValueEnum : LONG {
    adErrNoCurrentRecord = 3021,
    adErrInvalidArgument = 3001,
    adErrItemNotFound = 3265,
    adErrFeatureNotAvailable = 3251,
    adErrObjectClosed = 3704,
    adErrObjectOpen = 3705,
    adErrProviderNotFound = 3706,
    adErrInvalidConnection = 3709,
    adErrOperationCancelled = 3712,
};

inline constexpr HRESULT AdoError(ErrorValueEnum value) {
    return static_cast<HRESULT>(0x800A0000u | static_cast<std::uint32_t>(value));
}
