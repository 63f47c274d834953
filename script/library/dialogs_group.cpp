#include "script/library/dialogs_group.h"

#include "platform/automation/safe_array.h"
#include "script/binding/host_ui.h"
#include "script/library/function_table.h"

namespace script {

namespace {

using library::Args;
using platform::Variant;

// A set value: the bits of a set constructor's elements, or a number.
int setBits(const Variant& v)
{
    if (const platform::SafeArray* a = v.array()) {
        int bits = 0;
        for (std::size_t i = 0; i < a->elementCount(); ++i)
            bits |= (a->storesVariants() ? a->variants()[i] : a->get(i)).toInt32();
        return bits;
    }
    return v.isEmptyOrNull() ? 0 : v.toInt32();
}

} // namespace

TfsDialogsGroup::TfsDialogsGroup(TfsScript& scope) : TfsRegistrationOwner(scope)
{
    Stamp stamp(*this);
    scope.AddEnumSet("TOpenOptions",
                     "ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, "
                     "ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, "
                     "ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, "
                     "ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, "
                     "ofDontAddToRecent, ofForceShowHidden");
    scope.AddEnum("TFileEditStyle", "fsEdit, fsComboBox");
    scope.AddEnumSet("TColorDialogOptions", "cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor");
    scope.AddEnumSet("TFontDialogOptions",
                     "fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, "
                     "fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, "
                     "fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton");
    scope.AddEnum("TFontDialogDevice", "fdScreen, fdPrinter, fdBoth");
    scope.AddEnum("TPrintRange", "prAllPages, prSelection, prPageNums");
    scope.AddEnumSet("TPrintDialogOptions",
                     "poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile");

    // What MessageDlg takes and gives.
    scope.AddEnum("TMsgDlgType", "mtWarning, mtError, mtInformation, mtConfirmation, mtCustom");
    scope.AddEnumSet("TMsgDlgButtons",
                     "mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp");
    scope.AddConst("mbYesNoCancel", "Integer", Variant(mbYes | mbNo | mbCancel));
    scope.AddConst("mbYesAllNoAllCancel", "Integer", Variant(mbYes | mbYesToAll | mbNo | mbNoToAll | mbCancel));
    scope.AddConst("mbOKCancel", "Integer", Variant(mbOK | mbCancel));
    scope.AddConst("mbAbortRetryIgnore", "Integer", Variant(mbAbort | mbRetry | mbIgnore));
    const char* results[] = {"mrNone", "mrOk",    "mrCancel", "mrAbort",   "mrRetry",   "mrIgnore",
                             "mrYes",  "mrNo",    "mrAll",    "mrNoToAll", "mrYesToAll"};
    for (int i = 0; i < 11; ++i)
        scope.AddConst(results[i], "Integer", Variant(i));

    library::RegisterRoutines(
        scope, "ctDialog",
        {
            {"function InputBox(ACaption, APrompt, ADefault: string): string",
             [](Args& a) {
                 std::string value = a[2].toString();
                 if (!HostUi().InputQuery(a[0].toString(), a[1].toString(), value))
                     value = a[2].toString();
                 return Variant(value);
             }},
            {"function InputQuery(ACaption, APrompt: string; var Value: string): Boolean",
             [](Args& a) {
                 std::string value = a[2].toString();
                 bool ok = HostUi().InputQuery(a[0].toString(), a[1].toString(), value);
                 if (ok)
                     a[2] = Variant(value);
                 return Variant(ok);
             }},
            {"function MessageDlg(const Msg: string; DlgType: TMsgDlgType; Buttons: TMsgDlgButtons; "
             "HelpCtx: Longint): Integer",
             [](Args& a) {
                 return Variant(HostUi().MessageDlg(a[0].toString(), a[1].toInt32(), setBits(a[2])));
             }},
        });
}

} // namespace script
