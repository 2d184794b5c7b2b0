#pragma once
// The checks of the report dialogs' entry fields that a user's entry can fail:
// each refusal tells the user why in a message box, and the field keeps the
// focus (the entry field's check does that when it answers false).
#include <QString>

class QWidget;

namespace velmont::reports {

// "Enrolled as at": a date that exists, or no date at all.
bool asAtDateAccepted(const QString& text, QWidget* owner);

// "Exam/Assess mark %": a whole number from 0 to 100 (above 100 the assessment
// mark would count negatively).
bool examWeightAccepted(const QString& text, QWidget* owner);

}  // namespace velmont::reports
