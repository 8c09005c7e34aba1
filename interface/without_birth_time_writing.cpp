// A reading's birth time in the web page's first engine, which reads no birthplace and so
// never has one: no object, and the steps row empty and hidden, as the markup has it without
// a birth time.
#include "interface/birth_time_writing.h"

CHENGGU_BEGIN_NAMESPACE

void WriteBirthTimeObject(JsonWriter& writer, const BirthReading&, bool, Script) { writer.Null(); }

void BirthTimeRows(HtmlWriter& html, const BirthReading&) {
    html << "<dt class=\"steps\" hidden>";
    html.T("推算") << "</dt><dd data-field=\"birthTime\" data-value=\"\" class=\"steps\" hidden></dd>";
}

CHENGGU_END_NAMESPACE
