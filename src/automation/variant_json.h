#pragma once

#include <nlohmann/json.hpp>

#include "automation/object_table.h"
#include "runtime/variant.h"

namespace automation {

using Json = nlohmann::ordered_json;

// A Variant as JSON with its type: {"type":"Integer","value":5}, {"type":"Empty"},
// {"type":"Nothing"}, {"type":"Object","object":3,"class":"LNSPlugInAPI"}. An object is held in
// `objects` so that the director can name it in later requests.
Json EncodeVariant(const rt::Variant& value, ObjectTable& objects);

// The reverse. Plain JSON is accepted too: true/false as Boolean, a whole number as Integer
// when it fits 16 bits, else Long, else Double; a fraction as Double; a text as String; null as
// Empty. A typed value is converted as the runtime converts (13 for "abc" as Integer, 6 for 300
// as Byte). `field` names the request field in error texts.
rt::Variant DecodeVariant(const Json& json, const ObjectTable& objects, std::string_view field);

}  // namespace automation
