// Prints the lunar date of every day in a span, as the 寿星 ephemeris calendar of
// lunar-javascript gives it, in the layout of `chinese_calendar.py days`
// ("JDN year month day", a leap month negative). Not part of the build:
//   npm install --prefix /tmp/lunarref lunar-javascript
//   NODE_PATH=/tmp/lunarref/node_modules node crosscheck_shouxing.js 1900-01-31 2100-12-31 > /tmp/ref.txt
//   g++ -std=c++20 -O2 -I ../../src dump_lunar.cpp ../../src/calendar/lunar.cpp -o /tmp/dump_lunar
//   /tmp/dump_lunar | diff /tmp/ref.txt -
// The two differ on 120 days. Before 1960 that library follows the calendars as
// printed in their day, which before 1929 were reckoned on Beijing's local mean
// time: 17 Nov-16 Dec 1914, 3 Feb-3 Mar 1916 and 10 Nov-9 Dec 1920 each lie in a
// month that begins a day later in China Standard Time. On 28 Sep-27 Oct 2057 it
// begins month 9 a day later than the Hong Kong Observatory: that new moon falls
// within seconds of midnight, and which side depends on the Delta T assumed.
const { Solar } = require('lunar-javascript');

const [from, to] = process.argv.slice(2).map((s) => s.split('-').map(Number));
let day = Solar.fromYmd(...from);
const last = Solar.fromYmd(...to).toYmd();
const lines = [];
for (;;) {
    const lunar = day.getLunar();
    lines.push(`${day.getJulianDay() + 0.5} ${lunar.getYear()} ${lunar.getMonth()} ${lunar.getDay()}`);
    if (day.toYmd() === last)
        break;
    day = day.next(1);
}
console.log(lines.join('\n'));
