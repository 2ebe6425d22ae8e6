#pragma once
// Writes the form page from the field model. One writer makes all three
// pages so that they cannot drift apart:
//  - kBlank: the empty form with its scripts (resource 131);
//  - kEditable: the same form with a stored declaration's values in its
//    fields and one annex row per stored row, for correcting it;
//  - kReadOnly: the same layout with the stored values as bold text, no
//    inputs, no scripts.
// The page text is Windows-1252.
#include <string>
#include <string_view>

#include "formpage/field_model.h"
#include "formpage/stored_boxes.h"
#include "xmlstore/field_list.h"

namespace f7301 {

enum class PageKind { kBlank, kEditable, kReadOnly };

// The blank form page.
std::string WriteBlankPage();

// The editable or read-only page of the declaration in `store`. False when a
// value the page needs is missing from the store; `page` is then empty.
bool WriteStoredPage(PageKind kind, const CFieldList& store, std::string& page);

// Whether the read-only page of `store` could be written, without writing
// it: the same walk of the page, every value it needs looked up, nothing
// put out. `boxes` indexes `store`.
bool ReadOnlyPageComplete(const CFieldList& store, const CStoredBoxes& boxes);

class CPageWriter {
 public:
  // `store` is null for the blank page.
  CPageWriter(PageKind kind, const CFieldList* store, std::string& page);
  // Looks every value up in `boxes` and puts nothing out: Write then only
  // tells whether a value was missing.
  CPageWriter(const CFieldList& store, const CStoredBoxes& boxes);
  CPageWriter(const CPageWriter&) = delete;
  CPageWriter& operator=(const CPageWriter&) = delete;
  // False when a value was missing from the store.
  bool Write();

 private:
  struct InputTag {
    std::string_view type = "text";
    std::string_view name;
    std::string_view cssClass;
    int size = 0;
    int maxLength = 0;
    std::string_view preset;
    std::string_view blurHandler;
    std::string_view style;
    bool disabled = false;
  };

  // Sections, top to bottom.
  void Head();
  void BodyStart();
  void Header();
  void HeaderTitleRow();
  void HeaderNumberCell();
  void Box0();
  void IdentityCells();
  void Period();
  void PeriodRow(const char* label, int firstField);
  void PeriodCell(const PeriodField& field);
  void PeriodDates();
  void Grid();
  void GridHeadings();
  void GridRowCells(int row);
  void GridCell(int row, int column);
  void Annex();
  void AnnexNameTemplates();
  void AnnexHeadings();
  void AnnexBody();
  void AnnexInputRow(int row);
  void AnnexProductList(int row);
  void AnnexTextRow(int row);
  void AnnexFooter();
  void AnnexControls();
  void Box3();
  void SettlementRow(const SettlementBox& box);
  void SwornStatements();
  void End();

  // Values of the stored declaration, by the page's rules; a missing one
  // marks the page as failed and gives the empty text.
  std::string BoxShown(int box);
  std::string Stored(int box);
  std::string ElementText(const char* name);
  std::string FormNumber();
  const CFieldNode* FindBox(int box) const;
  int StoredAnnexRows() const;
  int AnnexRows() const;

  void Put(std::string_view text);
  void PutNumber(int number);
  void PutEscaped(std::string_view value);
  void PutInputOpen(const InputTag& tag);
  static InputTag TagOf(const InputSpec& spec);
  void PutBoxInput(const InputTag& tag, int box);
  void PutSpokenName(std::string_view field);
  void PutValueName(std::string_view field, std::string_view value);
  void PutHidden(std::string_view name, std::string_view value);
  void PutHeadingRole(int level);
  void PutSpacerRow(int columns);

  bool Blank() const { return m_kind == PageKind::kBlank; }
  bool Editable() const { return m_kind == PageKind::kEditable; }
  bool ReadOnly() const { return m_kind == PageKind::kReadOnly; }

  PageKind m_kind;
  const CFieldList* m_store;
  CStoredBoxes m_ownBoxes;
  const CStoredBoxes* m_boxes = &m_ownBoxes;
  std::string m_noPage;
  std::string& m_page;
  bool m_putNothing = false;
  bool m_missing = false;
  int m_annexRows = 0;
};

}  // namespace f7301
