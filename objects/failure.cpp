#include "objects/failure.h"

namespace orvanta::objects {
namespace {

std::u16string_view TextOf(ErrorValueEnum error) {
    switch (error) {
        case adErrNoCurrentRecord:
            return u"Either BOF or EOF is True, or the current record has been deleted. Requested operation "
                   u"requires a current record.";
        case adErrInvalidArgument:
            return u"Arguments are of the wrong type, are out of acceptable range, or are in conflict with one "
                   u"another.";
        case adErrItemNotFound:
            return u"Item cannot be found in the collection corresponding to the requested name or ordinal.";
        case adErrFeatureNotAvailable:
            return u"Object or provider is not capable of performing requested operation.";
        case adErrObjectClosed: return u"Operation is not allowed when the object is closed.";
        case adErrObjectOpen: return u"Operation is not allowed when the object is open.";
        case adErrProviderNotFound: return u"Provider cannot be found. It may not be properly installed.";
        case adErrInvalidConnection:
            return u"The connection cannot be used to perform this operation. It is either closed or invalid in "
                   u"this context.";
        case adErrOperationCancelled: return u"Operation has been cancelled by the user.";
    }
    return u"";
}

}  // namespace

void Fail(HRESULT code, std::u16string_view description) { throw Failure{code, std::u16string(description)}; }

void Fail(ErrorValueEnum error) { Fail(AdoError(error), TextOf(error)); }

}  // namespace orvanta::objects
