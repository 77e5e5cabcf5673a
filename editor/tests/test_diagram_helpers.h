// For the file and command tests: the diagrams of test_diagram_records.h,
// scripted file dialogs, and the comparison of the saved fields.
#pragma once

#include "diagram_file.h"
#include "document.h"
#include "platform/file_dialog.h"
#include "platform/fs.h"
#include "test_diagram_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <utility>
#include <vector>

// Answers the file dialogs instead of the user: each dialog takes the next
// queued path; with nothing queued it is cancelled.
class FileDialogScript {
 public:
  struct Request {
    bool save = false;
    plat::FileDialogOptions options;
  };

  FileDialogScript() {
    plat::FileDialog::SetHook([this](bool save, const plat::FileDialogOptions& options) {
      requests_.push_back(Request{save, options});
      if (answers_.empty()) return QString();
      QString answer = answers_.front();
      answers_.pop_front();
      return answer;
    });
  }
  ~FileDialogScript() { plat::FileDialog::SetHook({}); }
  FileDialogScript(const FileDialogScript&) = delete;
  FileDialogScript& operator=(const FileDialogScript&) = delete;

  void Answer(const std::string& path) { answers_.push_back(plat::fs::ToQString(path)); }
  const std::vector<Request>& Requests() const { return requests_; }
  int Pending() const { return static_cast<int>(answers_.size()); }

 private:
  std::deque<QString> answers_;
  std::vector<Request> requests_;
};

// The file bytes of the current diagram.
inline std::string Encoded() {
  std::string bytes;
  EXPECT_TRUE(EncodeDiagram(CurrentDiagram(), bytes));
  return bytes;
}

// Every field the file holds, as text, in the file's order.
inline std::vector<std::string> SavedFields(const ElementRecord& e) {
  std::vector<std::string> f;
  auto i = [&f](int v) { f.push_back(std::to_string(v)); };
  i(e.kind), i(e.number), i(e.width), i(e.height);
  i(e.box.left), i(e.box.top), i(e.box.right), i(e.box.bottom);
  for (int s = 0; s < kPortSides; ++s) i(e.portBond[s]), i(e.portInUse[s]), i(e.portPartner[s]), i(e.portIsHead[s]);
  i(e.numbered);
  for (const std::string& t : {TextOf(e.parameterNames), TextOf(e.parameterValues), TextOf(e.parameterUnits),
                               TextOf(e.parameterComments)})
    f.push_back(t);
  for (const auto& t : e.extraTexts) f.push_back(TextOf(t));
  f.push_back(TextOf(e.extraText2430));
  f.push_back(TextOf(e.extraText2440));
  f.push_back(TextOf(e.equation));
  for (int c : e.checkBoxes) i(c);
  i(e.usedCount), i(e.feedbackCount);
  for (int k = 0; k < e.usedCount && k < kMaxUsedVariables; ++k)
    f.insert(f.end(), {TextOf(e.used[k].type), TextOf(e.used[k].name), TextOf(e.used[k].comment)});
  for (int k = 0; k < e.feedbackCount && k < kMaxFeedbackVariables; ++k)
    f.insert(f.end(), {TextOf(e.feedback[k].name), TextOf(e.feedback[k].kind), TextOf(e.feedback[k].bond)});
  return f;
}

inline std::vector<std::string> SavedFields(const BondRecord& b) {
  std::vector<std::string> f;
  auto i = [&f](int v) { f.push_back(std::to_string(v)); };
  i(b.headElement), i(b.tailElement), i(b.headSide), i(b.tailSide);
  for (const Point& p : b.hitPolygon) i(p.x), i(p.y);
  for (int r : b.reserved) i(r);
  i(b.strokeAtHead), i(b.hasInitialValue);
  f.push_back(TextOf(b.initialValue));
  f.push_back(TextOf(b.initialName));
  return f;
}

inline void ExpectSameRecords(const DiagramContent& a, const DiagramContent& b) {
  EXPECT_TRUE(std::equal(std::begin(a.kindCounters), std::end(a.kindCounters), std::begin(b.kindCounters)));
  ASSERT_EQ(a.elements.size(), b.elements.size());
  for (std::size_t n = 0; n < a.elements.size(); ++n)
    EXPECT_EQ(SavedFields(a.elements[n]), SavedFields(b.elements[n])) << "element " << n;
  ASSERT_EQ(a.bonds.size(), b.bonds.size());
  for (std::size_t n = 0; n < a.bonds.size(); ++n)
    EXPECT_EQ(SavedFields(a.bonds[n]), SavedFields(b.bonds[n])) << "bond " << n;
  EXPECT_EQ(TextOf(a.numeric.startTime), TextOf(b.numeric.startTime));
  EXPECT_EQ(TextOf(a.numeric.endTime), TextOf(b.numeric.endTime));
  EXPECT_EQ(TextOf(a.numeric.timeStep), TextOf(b.numeric.timeStep));
  EXPECT_EQ(TextOf(a.numeric.outputPoints), TextOf(b.numeric.outputPoints));
  ASSERT_EQ(a.outputs.size(), b.outputs.size());
  for (std::size_t n = 0; n < a.outputs.size(); ++n) {
    EXPECT_EQ(TextOf(a.outputs[n].kindName), TextOf(b.outputs[n].kindName)) << "output " << n;
    EXPECT_EQ(TextOf(a.outputs[n].bondText), TextOf(b.outputs[n].bondText)) << "output " << n;
  }
}
