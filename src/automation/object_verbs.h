#pragma once

#include "automation/channel.h"

namespace automation {

// create, release, objects, get, let, set, call: objects of the served classes, reached by
// member name through rt::Object::Invoke. For let and set the new value is the last argument.
void AddObjectVerbs(Channel& channel);

}  // namespace automation
