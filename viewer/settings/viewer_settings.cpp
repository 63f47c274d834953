#include "viewer/settings/viewer_settings.h"

#include "viewer/data/field_text.h"
#include "viewer/data/number_text_format.h"
#include "viewer/settings/ini_params.h"

namespace tavrin {

WindowParameters LoadWindowParameters(const std::string& ini)
{
    WindowParameters p;
    p.modeMatrixFill = GetFromINI_IntegerParamDef(ini, "MATRIX", "ModeMatrixFill", 0);
    if (p.modeMatrixFill < 0 || p.modeMatrixFill > 4)
        p.modeMatrixFill = 0;
    p.rect.xmin = GetFromINI_IntegerParamDef(ini, "MATRIX", "Xmin", 0);
    p.rect.xmax = GetFromINI_IntegerParamDef(ini, "MATRIX", "Xmax", 100);
    p.rect.ymin = GetFromINI_IntegerParamDef(ini, "MATRIX", "Ymin", 0);
    p.rect.ymax = GetFromINI_IntegerParamDef(ini, "MATRIX", "Ymax", 100);
    p.yesScale = GetFromINI_BoolParamDef(ini, "INPUT_INFO", "YesScale", false);
    p.xdef = FormatNumberText(GetFromINI_StringParamDef(ini, "INPUT_INFO", "Xdef", "0"));
    p.ydef = FormatNumberText(GetFromINI_StringParamDef(ini, "INPUT_INFO", "Ydef", "0"));
    p.zdef = FormatNumberText(GetFromINI_StringParamDef(ini, "INPUT_INFO", "Zdef", "0"));
    return p;
}

void SaveWindowParameters(const std::string& ini, const WindowParameters& p)
{
    PutToINI_IntegerParamW(ini, "MATRIX", "Xmin", p.rect.xmin);
    PutToINI_IntegerParamW(ini, "MATRIX", "Xmax", p.rect.xmax);
    PutToINI_IntegerParamW(ini, "MATRIX", "Ymin", p.rect.ymin);
    PutToINI_IntegerParamW(ini, "MATRIX", "Ymax", p.rect.ymax);
    PutToINI_IntegerParamW(ini, "MATRIX", "ModeMatrixFill", p.modeMatrixFill);
    PutToINI_BoolParamW(ini, "INPUT_INFO", "YesScale", p.yesScale);
    PutToINI_StringParamW(ini, "INPUT_INFO", "Xdef", FormatNumberText(p.xdef));
    PutToINI_StringParamW(ini, "INPUT_INFO", "Ydef", FormatNumberText(p.ydef));
    PutToINI_StringParamW(ini, "INPUT_INFO", "Zdef", FormatNumberText(p.zdef));
}

MatrixSettings ToMatrixSettings(const WindowParameters& p)
{
    MatrixSettings s;
    s.rect = p.rect;
    s.yesScale = p.yesScale;
    s.modeMatrixFill = p.modeMatrixFill;
    s.xdef = StrToNumberDef(p.xdef, 0);
    s.ydef = StrToNumberDef(p.ydef, 0);
    s.zdef = StrToNumberDef(p.zdef, 0);
    return s;
}

void WriteAboutSection(const std::string& ini, const std::string& exePath, const std::string& dateZeroText)
{
    PutToINI_StringParamW(ini, "ABOUT", "About", "Tavrin");
    PutToINI_StringParamW(ini, "ABOUT", "PRG", "Tavrin");
    PutToINI_StringParamW(ini, "ABOUT", "OS", "Windows-2000/XP");
    PutToINI_StringParamW(ini, "ABOUT", "Version", kVersionText);
    PutToINI_StringParamW(ini, "ABOUT", "Status", "Freeware");
    PutToINI_StringParamW(ini, "ABOUT", "Platform", "Linux");
    PutToINI_StringParamW(ini, "ABOUT", "Toolkit", "Qt 6");
    PutToINI_StringParamW(ini, "ABOUT", "EXE", exePath);
    PutToINI_StringParamW(ini, "ABOUT", "Date", dateZeroText);
}

} // namespace tavrin
