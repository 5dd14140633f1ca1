#pragma once
// Places for true solar time (真太阳时): the prefecture-level divisions of
// China (cities, prefectures, autonomous prefectures and leagues, named
// without their 市/地区/自治州/盟, at the seat of their government), the
// municipalities, Hong Kong, Macao and the chief cities of Taiwan, and the
// cities of the zones of the zone list (CommonZones), each with its longitude
// in degrees east (west negative), to a hundredth of a degree: 0.01° is 2.4
// seconds of solar time.

#include <optional>
#include <span>
#include <string_view>

namespace lotgrid {

struct City {
    std::u16string_view name;   // "石家庄", "延边", "海南州"
    std::u16string_view region; // the province, or the country abroad: "河北", "美国"
    double longitude;           // degrees east, west negative
};

// Every place, grouped by region: China's first, then Hong Kong, Macao and
// Taiwan, then abroad.
std::span<const City> cities();

// The place called `name`, with or without its 市, 地区, 自治州 or 盟
// ("延边朝鲜族自治州" finds 延边 only by its short name); none for any other.
std::optional<City> findCity(std::u16string_view name);

} // namespace lotgrid
