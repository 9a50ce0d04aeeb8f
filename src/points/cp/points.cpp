#include "points/cp/points.h"

#include <array>

namespace points {

namespace {

using Entry = PointClassEntry<ConfigPropertyPoint>;
template <class T>
constexpr auto Create = CreatePoint<ConfigPropertyPoint, T>;

constexpr std::array<Entry, 14> Classes{{
    {"SCPTsetPnts", "{22D7060A-3357-480C-AC88-D4A39109AA8E}", Create<SCPTsetPnts>},
    {"SCPT_time_sec", "{8D51D32D-DD4F-464B-80CD-18C22D3F5867}", Create<SCPT_time_sec>},
    {"SCPT_time_min", "{F2CDC4D6-C3C2-438B-B162-F784F7A2690C}", Create<SCPT_time_min>},
    {"SCPT_time_hour", "{2D0DE3E6-5532-4EFD-8BDF-C3B9EE1FF286}", Create<SCPT_time_hour>},
    {"SCPT_lev_percent", "{7D0F238A-75ED-46F5-85FD-BC48C58EDFA3}", Create<SCPT_lev_percent>},
    {"SCPT_str_asc", "{2CB9B719-2E39-47A5-B0C0-8A7FF1D76868}", Create<SCPT_str_asc>},
    {"SCPTbypassTime", "{25D941D8-FDAC-4C65-8E39-98E0A79554AA}", Create<SCPTbypassTime>},
    {"SCPThvacType", "{0E084753-91CC-4D52-91F1-5C334007953F}", Create<SCPThvacType>},
    {"UCPT_Byte", "{221CAE5C-6168-4276-828B-2F8AEE598B9B}", Create<UCPT_Byte>},
    {"UCPT_Boolean", "{32804F83-ABCB-434D-B7B4-8ACFD0B477CC}", Create<UCPT_Boolean>},
    {"UCPTsoftJumpers", "{BD65CA5B-7815-4DDA-B172-A6B33E1124BB}", Create<UCPTsoftJumpers>},
    {"UCPTtemp_Dif_p", "{3632BE80-2767-4B47-9A22-4F13C033CBD1}", Create<UCPTtemp_Dif_p>},
    {"UCPTtemp_p", "{CBE01C83-1229-4EDA-B238-F99E525FE573}", Create<UCPTtemp_p>},
    {"UCPTulong", "{955344F0-3EE8-44BB-A638-DAE5C1FF7EEC}", Create<UCPTulong>},
}};

}  // namespace

std::span<const PointClassEntry<ConfigPropertyPoint>> ConfigPropertyClasses() { return Classes; }

void AddConfigPropertyClasses() { AddComClasses(ConfigPropertyClasses()); }

rt::Ref<ConfigPropertyPoint> CreateConfigPropertyPoint(std::string_view className) {
  return CreateByName(ConfigPropertyClasses(), className);
}

}  // namespace points
