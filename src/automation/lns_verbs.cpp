#include "automation/lns_verbs.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "automation/by_name.h"
#include "automation/protocol_error.h"
#include "lns/calls/journal.h"
#include "lns/lookup.h"
#include "lns/server.h"
#include "lns/values/codec.h"
#include "runtime/text.h"

namespace automation {
namespace {

constexpr int64_t DefaultJournalEntries = 100;

// --- the unit's values ------------------------------------------------------------------------

lns::HeldDevice TargetDevice(const Request& request) { return lns::HoldDevice(request.Text("device")); }

// A point, with the hold on its network that keeps its database while the point is used.
struct HeldPoint {
  lns::HeldDevice held;
  std::shared_ptr<lns::ValuePoint> point;
};

HeldPoint TargetPoint(const Request& request) {
  lns::HeldDevice held = TargetDevice(request);
  auto point = held.device->FindPoint(request.Text("point"));
  return {std::move(held), std::move(point)};
}

lns::Bytes ByteList(const Request& request) {
  constexpr std::string_view expected = "a list of whole numbers from 0 to 255";
  const Json& list = request.Field("bytes");
  if (!list.is_array()) RaiseWrongType("bytes", expected);
  lns::Bytes bytes;
  for (const Json& item : list) {
    if (!item.is_number_unsigned() || item.get<uint64_t>() > UINT8_MAX) RaiseWrongType("bytes", expected);
    bytes.push_back(static_cast<uint8_t>(item.get<uint64_t>()));
  }
  return bytes;
}

Json PointReading(const lns::ValuePoint& point, ObjectTable& objects) {
  const rt::Variant value = lns::PresentValue(point.DeviceType(), point.CurrentFormat(), point.DeviceBytes());
  return {{"point", point.Name()},
          {"kind", point.TypeName()},
          {"type", point.DeviceType()},
          {"format", point.CurrentFormat()},
          {"bytes", point.DeviceBytes()},
          {"value", EncodeVariant(value, objects)}};
}

Json SetUnitPoint(const Request& request, ObjectTable& objects) {
  const bool byBytes = request.Has("bytes");
  if (byBytes == request.Has("value")) RaiseMalformed("give either \"bytes\" or \"value\"");
  if (byBytes && request.Has("format")) RaiseMalformed("\"format\" goes with \"value\", not with \"bytes\"");
  const HeldPoint held = TargetPoint(request);
  const auto& point = held.point;
  if (byBytes) {
    point->UnitWriteBytes(ByteList(request));
  } else {
    const std::string format = request.OptionalText("format").value_or(point->CurrentFormat());
    point->UnitWriteValue(format, DecodeVariant(request.Field("value"), objects, "value"));
  }
  return PointReading(*point, objects);
}

// --- the unit's state -------------------------------------------------------------------------

struct UnitStatus {
  int16_t state;
  bool commissioned;
  int16_t commissionStatus;
  bool testBlocked;
};

// Read from the unit's side: the getters are the plug-in's calls, journaled and faultable.
UnitStatus StatusOf(const lns::AppDevice& device) {
  return {device.UnitState(), device.UnitCommissioned(), device.UnitCommissionStatus(), device.UnitTestBlocked()};
}

// Any state a device can report, the ones no attach accepts included.
int16_t RequestedState(const Request& request, int16_t current) {
  const int64_t state = request.WholeNumber("state", current);
  if (state < 0 || state > UINT8_MAX) {
    lns::Fail(lns::err::InvalidValue, "device state " + std::to_string(state) + " is not from 0 to 255");
  }
  return static_cast<int16_t>(state);
}

int16_t RequestedCommissionStatus(const Request& request, int16_t current) {
  const int64_t status = request.WholeNumber("commissionStatus", current);
  if (status < INT16_MIN || status > INT16_MAX) {
    lns::Fail(lns::err::InvalidValue, "commission status " + std::to_string(status) + " is beyond 16 bits");
  }
  return static_cast<int16_t>(status);
}

// Everything is checked before anything changes, so a bad field leaves the unit as it was.
UnitStatus RequestedStatus(const Request& request, const UnitStatus& current) {
  return {RequestedState(request, current.state), request.Flag("commissioned", current.commissioned),
          RequestedCommissionStatus(request, current.commissionStatus),
          request.Flag("testBlocked", current.testBlocked)};
}

void ApplyStatus(lns::AppDevice& device, const UnitStatus& current, const UnitStatus& wanted) {
  if (wanted.state != current.state) device.UnitSetState(wanted.state);
  if (wanted.commissioned != current.commissioned || wanted.commissionStatus != current.commissionStatus) {
    device.UnitSetCommission(wanted.commissioned, wanted.commissionStatus);
  }
  if (wanted.testBlocked != current.testBlocked) device.UnitSetTestBlocked(wanted.testBlocked);
}

bool Answers(const lns::AppDevice& device) {
  try {
    device.RequireAnswer();
    return true;
  } catch (const rt::Error&) {
    return false;
  }
}

Json UnitState(const Request& request) {
  const lns::HeldDevice held = TargetDevice(request);
  const auto& device = held.device;
  const UnitStatus current = StatusOf(*device);
  ApplyStatus(*device, current, RequestedStatus(request, current));
  const UnitStatus now = StatusOf(*device);
  return {{"state", now.state},
          {"commissioned", now.commissioned},
          {"commissionStatus", now.commissionStatus},
          {"testBlocked", now.testBlocked},
          {"answers", Answers(*device)}};
}

// --- journal and events -----------------------------------------------------------------------

bool JournalEntryWanted(const lns::JournalEntry& entry, const std::string& pathPart, const std::string& member) {
  return entry.path.find(pathPart) != std::string::npos && (member.empty() || rt::EqualsNoCase(entry.member, member));
}

Json JournalEntryJson(const lns::JournalEntry& entry) {
  Json json = {{"sequence", entry.sequence},
               {"path", entry.path},
               {"member", entry.member},
               {"kind", lns::CallKindText(entry.kind)},
               {"arguments", entry.arguments},
               {"error", entry.error}};
  if (entry.status) json["status"] = *entry.status;
  json["pointer"] = entry.scene.mousePointer;
  json["lamps"] = entry.scene.lampsVisible;
  return json;
}

// Entries gathered newest first, as a JSON array oldest first.
Json OldestFirst(std::vector<const lns::JournalEntry*> newestFirst) {
  Json entries = Json::array();
  for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it) entries.push_back(JournalEntryJson(**it));
  return entries;
}

// The calls made since a mark, for the reply that says the process ends; nothing when none were.
Json JournalSince(int64_t sequence) {
  std::vector<const lns::JournalEntry*> since;
  lns::VisitJournalNewestFirst([&](const lns::JournalEntry& entry) {
    if (entry.sequence < sequence) return false;
    since.push_back(&entry);
    return true;
  });
  return since.empty() ? Json::object() : Json{{"journal", OldestFirst(std::move(since))}};
}

Json Journal(const Request& request) {
  const std::string pathPart = request.OptionalText("path").value_or("");
  const std::string member = request.OptionalText("member").value_or("");
  const int64_t last = request.WholeNumber("last", DefaultJournalEntries);
  if (last < 0) RaiseMalformed("\"last\" must not be negative");
  size_t matched = 0;
  std::vector<const lns::JournalEntry*> kept;
  lns::VisitJournalNewestFirst([&](const lns::JournalEntry& entry) {
    if (!JournalEntryWanted(entry, pathPart, member)) return true;
    if (matched++ < static_cast<uint64_t>(last)) kept.push_back(&entry);
    return true;
  });
  return {{"matched", matched}, {"entries", OldestFirst(std::move(kept))}};
}

void RaiseMonitorUpdate(const Request& request, const ObjectTable& objects) {
  const int32_t tag = request.Int("tag");
  const rt::Variant value =
      request.Has("value") ? DecodeVariant(request.Field("value"), objects, "value") : rt::Variant();
  const rt::ObjectRef monitored = request.Has("point") ? rt::ObjectRef(TargetPoint(request).point) : nullptr;
  lns::RaiseMonitorUpdateEverywhere(tag, value, monitored);
}

Json RaiseEvent(const Request& request, const ObjectTable& objects) {
  enum class Event { Refresh, Monitor };
  constexpr std::array<Named<Event>, 2> events = {{{"refresh", Event::Refresh}, {"monitor", Event::Monitor}}};
  if (ByName(events, request, "kind", "event") == Event::Refresh) {
    lns::RaiseRefreshNotifyEverywhere();
  } else {
    RaiseMonitorUpdate(request, objects);
  }
  return Json::object();
}

}  // namespace

void AddLnsVerbs(Channel& channel) {
  ObjectTable& objects = channel.Objects();
  channel.AddVerb("unit-set",
                  "device=P point=D bytes=[..] | value=V [format=F]: sets a point as the unit itself would",
                  [&objects](const Request& r) { return SetUnitPoint(r, objects); });
  channel.AddVerb("unit-read", "device=P point=D: a point's bytes, format and value",
                  [&objects](const Request& r) { return PointReading(*TargetPoint(r).point, objects); });
  // Only a device of a network open in this process: a director can use it after the reply.
  channel.AddVerb("unit-device", "device=P: the device as an object, as a director's own Object Server gives it",
                  [&objects](const Request& r) {
                    return EncodeVariant(rt::Variant::Object(lns::FindOpenDevice(r.Text("device"))), objects);
                  });
  channel.AddVerb("unit-state",
                  "device=P [state=N] [commissioned=B] [commissionStatus=N] [testBlocked=B]: the unit's state",
                  UnitState);
  AddFaultVerbs(channel);
  AddClientVerbs(channel);
  channel.AddVerb("journal",
                  "[path=TEXT] [member=M] [last=N]: the calls of the Object Server and the catalog, oldest first",
                  Journal);
  channel.AddVerb("journal-clear", "empties the journal of Object Server calls", [](const Request&) {
    lns::ClearJournal();
    return Json::object();
  });
  channel.SetEndingTrace({lns::NextJournalSequence, JournalSince});
  channel.AddVerb("lns-event", "kind=refresh | kind=monitor tag=N [value=V] [device=P point=D]: raises an event",
                  [&objects](const Request& r) { return RaiseEvent(r, objects); });
}

}  // namespace automation
