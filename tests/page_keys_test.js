// The page's key translation against the bytes kitty itself sends for the same keys, and
// the sound requests it accepts. Run with node --test.
const test = require('node:test');
const assert = require('node:assert');
const { sequenceFor, browserKeeps } = require('../web/page/keys.js');
const { parseRequest, toneSamples } = require('../web/page/sound.js');

const ALL = 11;             // disambiguate, event types, all keys: what the game pushes
const WITH_PLACES = 15;     // and the alternate keys, for letters read by their place
const key = (type, code, keyText, more = {}) => ({ type, code, key: keyText, repeat: false, shiftKey: false, altKey: false, ctrlKey: false, metaKey: false, ...more });

test('presses, repeats and releases as kitty sends them', () => {
  assert.strictEqual(sequenceFor(key('keydown', 'KeyW', 'w'), ALL), '\x1b[119u');
  assert.strictEqual(sequenceFor(key('keydown', 'KeyW', 'w', { repeat: true }), ALL), '\x1b[119;1:2u');
  assert.strictEqual(sequenceFor(key('keyup', 'KeyW', 'w'), ALL), '\x1b[119;1:3u');
  assert.strictEqual(sequenceFor(key('keyup', 'KeyW', 'w'), 1), null, 'no releases unless asked for');
  assert.strictEqual(sequenceFor(key('keydown', 'ArrowRight', 'ArrowRight'), ALL), '\x1b[C');
  assert.strictEqual(sequenceFor(key('keyup', 'ArrowRight', 'ArrowRight'), ALL), '\x1b[1;1:3C');
  assert.strictEqual(sequenceFor(key('keydown', 'Enter', 'Enter'), ALL), '\x1b[13u');
  assert.strictEqual(sequenceFor(key('keydown', 'Delete', 'Delete', { shiftKey: true }), ALL), '\x1b[3;2~');
});

test('lone modifiers, and keys held with them', () => {
  assert.strictEqual(sequenceFor(key('keydown', 'ControlLeft', 'Control', { ctrlKey: true }), ALL), '\x1b[57442;5u');
  assert.strictEqual(sequenceFor(key('keyup', 'ControlLeft', 'Control'), ALL), '\x1b[57442;1:3u');
  assert.strictEqual(sequenceFor(key('keydown', 'ShiftRight', 'Shift', { shiftKey: true }), ALL), '\x1b[57447;2u');
  assert.strictEqual(sequenceFor(key('keydown', 'KeyC', 'c', { ctrlKey: true }), ALL), '\x1b[99;5u', 'Ctrl+C, which the game raises as SIGINT');
});

test('the shifted key and the US layout key in its place, where asked for', () => {
  assert.strictEqual(sequenceFor(key('keydown', 'KeyA', 'A', { shiftKey: true }), WITH_PLACES), '\x1b[97:65;2u');
  assert.strictEqual(sequenceFor(key('keydown', 'Digit1', '!', { shiftKey: true }), WITH_PLACES), '\x1b[49:33;2u');
  // AZERTY: the key in W's place types 'z'.
  assert.strictEqual(sequenceFor(key('keydown', 'KeyW', 'z'), WITH_PLACES), '\x1b[122::119u');
  assert.strictEqual(sequenceFor(key('keydown', 'KeyW', 'z'), ALL), '\x1b[122u');
  assert.strictEqual(sequenceFor(key('keydown', 'BracketLeft', 'Dead'), WITH_PLACES), '\x1b[91u');
  assert.strictEqual(sequenceFor(key('keydown', '', 'Unidentified'), ALL), null);
});

test('the browser keeps its own keys; the game gets the rest', () => {
  assert.ok(browserKeeps(key('keydown', 'F5', 'F5')));
  assert.ok(browserKeeps(key('keydown', 'KeyW', 'w', { ctrlKey: true })));
  assert.ok(!browserKeeps(key('keydown', 'KeyW', 'w')));
  assert.ok(!browserKeeps(key('keydown', 'ControlLeft', 'Control', { ctrlKey: true })));
});

test('sound requests: the game\'s form only, and its glide', () => {
  assert.deepStrictEqual(parseRequest('440.00;110.00;250;0.1500'), { startHz: 440, endHz: 110, seconds: 0.25, volume: 0.15 });
  for (const bad of ['', '1;2;3', '1;2;3;4;5', 'a;2;3;0.1', '-1;2;3;0.1', '1;2;3;2', '1e9;2;3;0.1']) {
    assert.strictEqual(parseRequest(bad), null, bad);
  }
  const samples = toneSamples(1000, 500, 0.01, 0.5, 44100);
  assert.strictEqual(samples.length, 441);
  assert.ok(samples.every((s) => Math.abs(s) <= 0.5 + 1e-9));
  assert.strictEqual(toneSamples(440, 440, 0, 1, 44100).length, 1, 'a tone of no length is one sample, as the mixer makes it');
});
