#include "mixer/detail_class.h"

namespace mixer {

using namespace platform::mixer;

DetailClass detailClassOf(platform::win::DWORD controlType) {
    const platform::win::DWORD typeClass = controlType & MIXERCONTROL_CT_CLASS_MASK;
    if (controlType == MIXERCONTROL_CONTROLTYPE_SIGNEDMETER || controlType == MIXERCONTROL_CONTROLTYPE_SIGNED ||
        typeClass == MIXERCONTROL_CT_CLASS_SLIDER)
        return DetailClass::Signed;
    if (typeClass == MIXERCONTROL_CT_CLASS_LIST || controlType == MIXERCONTROL_CONTROLTYPE_BOOLEANMETER ||
        typeClass == MIXERCONTROL_CT_CLASS_SWITCH)
        return DetailClass::Boolean;
    return DetailClass::Unsigned;
}

bool isSingleSelect(platform::win::DWORD controlType) {
    return detailClassOf(controlType) == DetailClass::Boolean &&
           (controlType == MIXERCONTROL_CONTROLTYPE_SINGLESELECT || controlType == MIXERCONTROL_CONTROLTYPE_MUX);
}

}  // namespace mixer
