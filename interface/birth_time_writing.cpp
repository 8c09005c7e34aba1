#include "interface/birth_time_writing.h"

#include <cmath>

#include "chenggu/chinese_text.h"
#include "chenggu/places.h"
#include "interface/json_writer.h"
#include "interface/reading_members.h"

CHENGGU_BEGIN_NAMESPACE

void WriteBirthTimeObject(JsonWriter& writer, const BirthReading& reading, bool withSteps,
                          Script script) {
    const BirthTime& time = *reading.birthTime;
    writer.StartObject();
    writer.Member("clock", IsoDateTime(time.clock, false));
    writer.Member("zone", time.zone);
    writer.Key("utcOffsetMinutes");
    writer.Number(time.utcOffsetSeconds / 60.0, 6);
    writer.Member("summerTime", time.summerTime);
    writer.Member("localMeanTime", time.localMeanTime);
    writer.Member("secondOccurrence", time.secondOccurrence);
    writer.Member("repeated", time.happenedTwice);
    writer.Key("longitude");
    writer.Number(time.longitude, 6);
    writer.Key("place");
    const std::string* place =
        reading.birth.birthplace ? &reading.birth.birthplace->place : nullptr;
    if (place == nullptr || place->empty()) {
        writer.Null();
    } else {
        writer.String(PlaceNameIn(*place, script));
    }
    if (reading.birth.birthplace) {
        const Birthplace& birthplace = *reading.birth.birthplace;
        if (!birthplace.longitudeOf.empty()) {
            writer.Member("longitudeOf", PlaceNameIn(birthplace.longitudeOf, script));
        }
        if (!birthplace.otherPlaces.empty()) {
            writer.Key("otherPlaces");
            writer.StartArray();
            for (const std::string& other : birthplace.otherPlaces)
                writer.String(PlaceNameIn(other, script));
            writer.EndArray();
        }
    }
    writer.Member("meanSolar", IsoDateTime(time.meanSolar));
    writer.Key("equationOfTimeSeconds");
    writer.Int(std::llround(time.equationOfTimeSeconds));
    writer.Member("trueSolar", IsoDateTime(time.trueSolar));
    writer.Member("nearBoundary", time.nearBoundary);
    if (withSteps) {
        writer.Key("steps");
        writer.StartArray();
        for (const std::string& step : BirthTimeSteps(reading, script)) writer.String(step);
        writer.EndArray();
    }
    writer.EndObject();
}

namespace {

// The place a shared name was read as, and the others it could mean, a button each.
void PlaceChoice(HtmlWriter& html, const BirthReading& r) {
    if (!r.birth.birthplace || r.birth.birthplace->otherPlaces.empty()) return;
    const Script s = html.script();
    html << "<dt class=\"place-choice\">";
    html.T("出生地") << "</dt><dd class=\"place-choice\" id=\"place-choice\">";
    html.Text(PlaceNameIn(r.birth.birthplace->place, s)).T("；改为：");
    for (const std::string& other : r.birth.birthplace->otherPlaces) {
        const std::string name = PlaceNameIn(other, s);
        html << "<button type=\"button\"";
        html.Attribute("data-place", name) << ">";
        html.Text(name) << "</button>";
    }
    html << "</dd>";
}

// The steps from the clock to the period, with the birth time's data.
void Steps(HtmlWriter& html, const BirthReading& r) {
    const std::string_view hidden = r.birthTime ? "" : " hidden";
    html << "<dt class=\"steps\"" << hidden << ">";
    html.T("推算") << "</dt>";
    const std::string data =
        r.birthTime ? WrittenJson(-1, [&](JsonWriter& w) { WriteBirthTimeObject(w, r, false, html.script()); }) : "";
    html.Open("dd", "birthTime", data, std::string(" class=\"steps\"") + std::string(hidden));
    if (r.birthTime) {
        html << "<ol>";
        for (const std::string& step : BirthTimeSteps(r, html.script())) html << "<li>" << HtmlText(step) << "</li>";
        html << "</ol>";
    }
    html << "</dd>";
}

}  // namespace

void BirthTimeRows(HtmlWriter& html, const BirthReading& reading) {
    PlaceChoice(html, reading);
    Steps(html, reading);
}

CHENGGU_END_NAMESPACE
