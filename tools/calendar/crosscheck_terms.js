// Prints the 24 solar terms of every year in a span as the 寿星 ephemeris of
// lunar-javascript gives them, in the layout of `chinese_calendar.py terms`
// ("year n YYYY-MM-DD hh:mm:ss", China Standard Time, 1 = 小寒), for comparing the
// two instant by instant. Not part of the build:
//   npm install --prefix /tmp/lunarref lunar-javascript
//   NODE_PATH=/tmp/lunarref/node_modules node crosscheck_terms.js 1900 2100 > /tmp/ref.txt
//   python3 chinese_calendar.py terms 1900 2100 > /tmp/mine.txt
// Over 1900-2100 the two differ by at most 38 seconds (the later years most, by the
// Delta T each assumes); one term lies on another day: 大寒 1979, at 00:00:01 on
// 21 January here and at 23:59:56 on 20 January there.
const { Solar } = require('lunar-javascript');

const [first, last] = process.argv.slice(2).map(Number);
const lines = [];
for (let y = first; y <= last; ++y) {
    const instants = new Set();
    for (const month of [2, 6, 10]) {
        const table = Solar.fromYmd(y, month, 15).getLunar().getJieQiTable();
        for (const solar of Object.values(table))
            if (solar.getYear() === y)
                instants.add(solar.toYmdHms());
    }
    [...instants].sort().forEach((instant, i) => lines.push(`${y} ${i + 1} ${instant}`));
}
console.log(lines.join('\n'));
