// The school record and the academic year proposed from its term start days.
// Thread rule: the caller's thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/date_format.h"
#include "platform/db/query.h"

namespace marksend {

// The four lines of the school statement, as sent.
const std::vector<std::string>& SchoolStatement();

// The Buddhist-era academic year in which today falls, from the texts of the
// two term start dates (dd/MM/yyyy; shorter texts give shorter keys).
int DefaultAcademicYear(const std::string& term1Text, const std::string& term2Text, const DateTime& today);

// Opens querySchool with the school statement if it is not open, computes the
// default year from its first row as of today, and closes it. Errors propagate.
int LoadSchoolRecord(db::Query& querySchool, const DateTime& today);

}  // namespace marksend
