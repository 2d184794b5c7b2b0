#pragma once
// The checks of the report dialogs' entry fields that a user's entry can fail:
// each refusal tells the user why in a message box, and the field keeps the
// focus (the entry field's check does that when it answers false).
#include <QString>

class QWidget;

namespace velmont::school {
class SchoolFolder;
}

namespace velmont::reports {

// "Enrolled as at": a date that exists, or no date at all.
bool asAtDateAccepted(const QString& text, QWidget* owner);

// The home class: blank, or the beginning of a class that a student of the
// school is in (as the run selects by it); a refusal names the classes there
// are. `word` is the school's word for a home class. A students table that
// cannot be read is left for the run to name.
bool homeClassAccepted(const QString& text, const school::SchoolFolder& folder, const QString& word, QWidget* owner);

// "Exam/Assess mark %": a whole number from 0 to 100 (above 100 the assessment
// mark would count negatively).
bool examWeightAccepted(const QString& text, QWidget* owner);

}  // namespace velmont::reports
