#include "experimental_data.h"

#include "canvas_drawing.h"
#include "document.h"
#include "platform/cp932.h"
#include "platform/dialog.h"
#include "platform/fs.h"
#include "resources/expdata_templates.h"

#include <QString>

#include <cstring>
#include <string>
#include <vector>

char g_expDataFileName[200];

namespace {

void ResetExperimentalDataGlobals() { std::memset(g_expDataFileName, 0, sizeof g_expDataFileName); }
const EditorResetHook kResetHook(&ResetExperimentalDataGlobals);

// C: the lines before and after the fopen line, which holds the file name.
// Lines 9 and 11 end in a blank.
constexpr const char* kCodeHeadC =
    "int i;\n"
    "static int count=0;\n"
    "static int flag,Imax;\n"
    "static double expData[10000],expTime[10000];\n"
    "double temp;\n"
    "FILE *fp;\n"
    "if(flag != 1){\n"
    "if((fp=fopen(\"";
constexpr const char* kCodeTailC =
    "\",\"r\"))==NULL)\n"
    "{ printf(\"File could not open\\n \"); exit(1); } \n"
    "fscanf(fp,\" %d \", &Imax);\n"
    "for(i=0;i<Imax;i++) fscanf(fp,\" %lf %lf \", &expTime[i], &expData[i]); \n"
    "flag=1;\n"
    "fclose(fp);}\n"
    "for(i=count;i<Imax;i++){ if(expTime[i] > T){\n"
    "count=i; break;\n"
    "} }\n"
    "temp=(T-expTime[count-1])*(expData[count]-expData[count-1])\n"
    "/(expTime[count]-expTime[count-1])+expData[count-1];\n";

// Fortran, fixed form: the GO TO line starts with a TAB.
constexpr const char* kCodeHeadFortran =
    "      INTEGER COUNT,FLAG,NUM\n"
    "      DOUBLE PRECISION EXPDATA(10000), EXPTIME(10000),TEMP\n"
    "      IF(FLAG.NE.1) THEN\n"
    "          OPEN(UNIT=55, FILE='";
constexpr const char* kCodeTailFortran =
    "',FORM='FORMATTED')\n"
    "          READ(55,*) NUM\n"
    "          DO 10 I=1,NUM\n"
    "              READ(55,*) EXPTIME(I),EXPDATA(I)\n"
    "10        CONTINUE\n"
    "          CLOSE(55)\n"
    "          FLAG=1\n"
    "      ENDIF\n"
    "      DO 20 I=1,NUM\n"
    "          IF(EXPTIME(I).GT.T) THEN\n"
    "              COUNT = I\n"
    "\t           GO TO 30\n"
    "          END IF\n"
    "20    CONTINUE\n"
    "30    TEMP=(T-EXPTIME(COUNT-1))*(EXPDATA(COUNT)-EXPDATA(COUNT-1))\n"
    "     1  /(EXPTIME(COUNT)-EXPTIME(COUNT-1))+EXPDATA(COUNT-1)\n";

// The dialog INPUT_EXP_RESULT: the attachments of the document in a list, the
// SE and SF elements in a combo box, the file name in an edit field.
class ExperimentalDataDialog : public plat::Dialog {
 public:
  ExperimentalDataDialog() : plat::Dialog(dlgres::ExperimentalDataTemplate()) {}

 protected:
  void OnInit() override {
    SetByteLimit(dlgres::kDataFileNameEdit, sizeof g_expDataFileName - 1);
    InitExperimentalDataList();
    CreateSourceElementCombo();
  }

  // Escape and the close box (IDCANCEL) do nothing: only "閉じる" closes.
  void OnCommand(int id) override {
    switch (id) {
      case dlgres::kAttachButton: AttachExperimentalData(); break;
      case dlgres::kDetachButton: DetachExperimentalData(); break;
      case dlgres::kExpDataCloseButton: End(0); break;
      default: break;
    }
  }

 private:
  void InitExperimentalDataList() {
    AddChildPx(dlgres::kAttachmentList, plat::Ctl::List, 20, 70, 260, 140);
    ListAddColumn(dlgres::kAttachmentList, QStringLiteral("素子名"), 60, Align::Left);
    ListAddColumn(dlgres::kAttachmentList, QStringLiteral("ファイル名"), 200, Align::Left);
    int row = 0;
    for (int i = 0; i < g_elementCount && i < kMaxElements; ++i) {
      const ElementRecord& e = g_document.elements[i];
      if (e.hasExpData != 1) continue;
      ListInsertRow(dlgres::kAttachmentList, row++, {ElementLabel(i), TextOf(e.expDataFile)});
    }
  }

  void CreateSourceElementCombo() {
    AddChildPx(dlgres::kSourceElementCombo, plat::Ctl::Combo, 20, 40, 120, 200);
    for (int i = 0; i < g_elementCount && i < kMaxElements; ++i) {
      const int kind = g_document.elements[i].kind;
      if (kind == kKindSE || kind == kKindSF) ComboAdd(dlgres::kSourceElementCombo, ElementLabel(i));
    }
  }

  // The row goes in first, whatever follows: with no element chosen it shows an
  // empty label and nothing else changes.
  void AttachExperimentalData() {
    const std::string label = ComboText(dlgres::kSourceElementCombo, ComboSelection(dlgres::kSourceElementCombo));
    StoreText(g_expDataFileName, GetText(dlgres::kDataFileNameEdit));
    const std::string fileName = TextOf(g_expDataFileName);
    ListInsertRow(dlgres::kAttachmentList, 0, {label, fileName});
    AttachExperimentalDataTo(label, fileName);
  }

  void DetachExperimentalData() {
    std::vector<std::string> labels;
    for (int r = ListNextSelected(dlgres::kAttachmentList); r >= 0; r = ListNextSelected(dlgres::kAttachmentList)) {
      labels.push_back(ListText(dlgres::kAttachmentList, r, 0));
      ListDeleteRow(dlgres::kAttachmentList, r);
    }
    for (const std::string& label : labels) DetachExperimentalDataFrom(label);
  }
};

}  // namespace

std::string EscapeForCString(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

std::string EscapeForFortranString(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

std::string ExperimentalDataCode(int language, int kind, const std::string& fileName) {
  const bool effort = kind == kKindSE;
  if (language == 0)
    return kCodeHeadC + EscapeForCString(fileName) + kCodeTailC + (effort ? "E=temp;\n" : "F=temp;\n");
  return kCodeHeadFortran + EscapeForFortranString(fileName) + kCodeTailFortran +
         (effort ? "      E=TEMP\n" : "      F=TEMP\n");
}

int FindSourceElement(const std::string& label) {
  if (label.empty()) return -1;
  for (int i = 0; i < g_elementCount && i < kMaxElements; ++i) {
    const int kind = g_document.elements[i].kind;
    if ((kind == kKindSE || kind == kKindSF) && ElementLabel(i) == label) return i;
  }
  return -1;
}

bool AttachExperimentalDataTo(const std::string& label, const std::string& fileName) {
  const int i = FindSourceElement(label);
  if (i < 0) return false;
  ElementRecord& e = g_document.elements[i];
  StoreText(e.expDataFile, fileName);
  // fopen and OPEN need the name as the file system spells it.
  const std::string systemName = plat::fs::FromQString(plat::cp932::ToQString(fileName));
  e.expDataCode = ExperimentalDataCode(g_language, e.kind, systemName);
  e.hasExpData = 1;
  return true;
}

void DetachExperimentalDataFrom(const std::string& label) {
  const int i = FindSourceElement(label);
  if (i >= 0) g_document.elements[i].hasExpData = 0;
}

int RunExperimentalDataDialog(QWidget* owner) { return plat::RunDialog<ExperimentalDataDialog>(owner); }
