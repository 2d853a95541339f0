#pragma once

#include <QString>

#include <functional>

class QComboBox;

namespace tarvok {

// Search inside a choice box: typing offers, under the box, every entry whose text, type ID
// or in-game name contains the typed text anywhere, without regard to letter case or
// full-width forms (as the lists' filters match). Choosing one is choosing that entry from
// the box's own list: its activation runs, and the box shows the entry's own text.
//
// The box's model must be in place (a box filled again through that model keeps its
// search). nameOf, when given, is the in-game name of an entry's text (an ID box); the
// offers then show that name beside the ID.
void searchInside(QComboBox* box, std::function<QString(const QString&)> nameOf = {});

} // namespace tarvok
