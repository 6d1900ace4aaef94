// Which further items of the form a mended value may bring into the check.
//
// A clerk mends a rejected record from its list of faults; the list holds
// every rule that was checked, but not the rules that the record's answers,
// as written, kept out of the check. A mended value can let those in, and
// the record comes back with a fault that was not on the list. The rows of
// the validator say what they read and under which gate they apply, so the
// items that a mend may open are read from the rows themselves:
//
// - When the record's numbers could be read, every rule whose gates hold was
//   checked already, and its faults are listed. For a fault of the one-byte
//   answer F, the mended values are the bytes with which the fault's own row
//   holds, every other answer as written. A row is named when one of its
//   gates (its own or its list's) reads F, that gate is closed now, and some
//   mended value opens all of its gates (a row whose other gate stays closed
//   is not named); or when it was checked and held, reads F, and some mended
//   value makes it fail (a none-applies item that held while F was out of
//   range). Either way the list of faults could not show it.
// - When a numeric item could not be read, no rule was checked at all. For a
//   fault of such an item F, a row is named when it reads F (as its field,
//   its rule's fields or its gates) and its gates that do not read F hold as
//   written: the rules whose answer the mended number decides.
//
// In both cases the rows of F's own item are left out (the fault already
// names it), and only the lists that the record's family runs count. A row
// is named by its item: the field it tests (an irregular rule's first field),
// with the item code and name on the form as the explanation names fields
// elsewhere ("G.2.a 통증 발생 빈도"). The items come in form order, each once.
//
// What is not named: rules that a mend of a wider answer (a number, a date)
// may break among those that were checked and held; rules that other answers
// keep out; and, while a number cannot be read, the rules that do not read
// it, which are all checked once every number reads.
#pragma once

#include <string>
#include <vector>

#include "explain/explanation.h"
#include "record/assessment_record.h"
#include "record/field_ref.h"
#include "record/form_version.h"
#include "text/language.h"
#include "validate/row.h"

namespace grouper {

// The rows of the validator whose gate (their own or their list's) reads
// `field`, in the lists that `family` runs, in form order.
std::vector<const Row*> RowsGatedOn(FieldRef field, Family family);

// The items that mending `field` of `record` (of `family`) may bring into the
// check, as above. `fault_row` is the row that failed on the field, or
// nullptr when the field is a numeric item that could not be read (the
// record then holds what the parser could read). A field that is no item of
// the layout opens nothing.
std::vector<OpenedItem> ItemsOpenedByMend(const AssessmentRecord& record, Family family,
                                          FieldRef field, const Row* fault_row);

// The same for the fault of `fault_row`, a row of the validator that failed on
// `record`: for the field the row tests (the value the explanation shows; a
// none-applies flag, not its list), or, for a rule over several answers that
// shows no value of its own, each answer it reads but its gates' (any of them
// may be the one to mend).
std::vector<OpenedItem> ItemsOpenedByFault(const AssessmentRecord& record, Family family,
                                           const Row& fault_row);

// The items a fault may open, as the explanation names them, joined by "; "
// (an item's name may hold a comma); "" when it opens none.
std::string OpenedItemsText(const ExplainedFault& fault);

// The line a fault's explanation carries for them, without a line end:
// "이 값을 고치면 다음 항목도 검사됩니다: G.2.a 통증 발생 빈도" ("Mending this value
// also brings into the check: ..." in English); "" when the fault opens none.
// UTF-8.
std::string OpensText(const ExplainedFault& fault, Language language);

}  // namespace grouper
