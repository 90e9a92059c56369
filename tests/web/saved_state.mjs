// tests/web/saved_state.mjs: the saved text as the web tests make and read it, apart from the game's code
// (tests/game/saved_state.h is the desktop tests' reader): 203 numbers, each followed by "|": 25 settings
// and their checksum, 8 badge words and theirs, then 8 highscore blocks of the best ten and the last ten
// interleaved, each with its checksum. Game type k's block starts at 35 + 21 k.

const kDefaults = { 5: 1, 10: 64, 11: 64, 12: 10, 14: 1 };   // sound on, the pad's place and size

// A valid saved text whose game types' last-ten tables start with `lastTen[k]` (the rest 0).
export function savedText(lastTen = {}) {
  const v = [];
  for (let i = 0; i < 25; ++i) v.push(kDefaults[i] || 0);
  v.push(v.reduce((sum, x, i) => sum + i * x, 0));
  for (let g = 0; g <= 8; ++g) v.push(0);   // no badges, checksum 0
  for (let k = 0; k < 8; ++k) {
    const last = lastTen[k] || [];
    let sum = 0;
    for (let j = 0; j < 10; ++j) {
      v.push(0, last[j] || 0);
      sum += (k + 3 + j) * (last[j] || 0);
    }
    v.push(sum);
  }
  return v.map((x) => `${x}|`).join('');
}

// Game type k's tables in a saved text: { best: [10], last: [10] }.
export function tables(text, k) {
  const v = text.split('|').map(Number);
  const block = v.slice(35 + 21 * k, 35 + 21 * k + 20);
  return { best: block.filter((_, i) => i % 2 === 0), last: block.filter((_, i) => i % 2 === 1) };
}
