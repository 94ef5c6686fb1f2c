// The browser's key events in the kitty keyboard protocol, the one the game asks its
// terminal for: every key's press, repeat and release, lone modifiers too, with the key
// that sits in the same place on the US layout (KeyboardEvent.code) where the game asks
// for alternate keys. The game reads these exactly as it reads kitty's own.
(function (exports) {
  'use strict';

  const FLAG_EVENT_TYPES = 2;  // releases and repeats are reported
  const FLAG_ALTERNATES = 4;   // the shifted key and the US layout's key come with each key
  const FLAG_ALL_KEYS = 8;     // every key as an escape code, Enter and Tab and Esc too

  const PRESS = 1;
  const REPEAT = 2;
  const RELEASE = 3;

  // The US layout's unshifted character at each place of the main block.
  const US_KEYS = {
    Space: ' ', Minus: '-', Equal: '=', BracketLeft: '[', BracketRight: ']', Backslash: '\\',
    Semicolon: ';', Quote: "'", Backquote: '`', Comma: ',', Period: '.', Slash: '/',
  };
  for (let i = 0; i < 26; ++i) US_KEYS['Key' + String.fromCharCode(65 + i)] = String.fromCharCode(97 + i);
  for (let i = 0; i < 10; ++i) US_KEYS['Digit' + i] = String(i);

  // Keys with a number of their own: the control characters' and the protocol's private
  // numbers for the modifiers and locks.
  const KEY_NUMBERS = {
    Enter: 13, NumpadEnter: 13, Tab: 9, Backspace: 127, Escape: 27,
    ShiftLeft: 57441, ControlLeft: 57442, AltLeft: 57443, MetaLeft: 57444,
    ShiftRight: 57447, ControlRight: 57448, AltRight: 57449, MetaRight: 57450,
    CapsLock: 57358, ScrollLock: 57359, NumLock: 57360, ContextMenu: 57363,
  };

  // Keys sent as CSI 1 ; modifiers LETTER, and as CSI NUMBER ; modifiers ~.
  const LETTER_KEYS = { ArrowUp: 'A', ArrowDown: 'B', ArrowRight: 'C', ArrowLeft: 'D', Home: 'H', End: 'F', F1: 'P', F2: 'Q', F4: 'S' };
  const TILDE_KEYS = {
    Insert: 2, Delete: 3, PageUp: 5, PageDown: 6, F3: 13, F5: 15, F6: 17, F7: 18, F8: 19,
    F9: 20, F10: 21, F11: 23, F12: 24,
  };

  function modifierBits(event) {
    return (event.shiftKey ? 1 : 0) | (event.altKey ? 2 : 0) | (event.ctrlKey ? 4 : 0) | (event.metaKey ? 8 : 0);
  }

  function eventType(event) {
    if (event.type === 'keyup') return RELEASE;
    return event.repeat ? REPEAT : PRESS;
  }

  // ";modifiers:event", left out where it says nothing (no modifier, a press).
  function modifierField(bits, type, flags) {
    const withType = (flags & FLAG_EVENT_TYPES) !== 0 && type !== PRESS;
    if (!withType && bits === 0) return '';
    return ';' + (bits + 1) + (withType ? ':' + type : '');
  }

  function single(text) {
    return typeof text === 'string' && [...text].length === 1 ? text : null;
  }

  // The key's numbers: the layout's unshifted key, the shifted one, the US layout's.
  function keyNumbers(event) {
    if (event.code in KEY_NUMBERS) return { number: KEY_NUMBERS[event.code], shifted: 0, base: 0 };
    const us = US_KEYS[event.code] ? US_KEYS[event.code].codePointAt(0) : 0;
    const typed = single(event.key);
    let number;
    let shifted = 0;
    if (typed) {
      const lower = typed.toLowerCase();
      // A shifted symbol ('!') does not say its unshifted key; its place does.
      number = event.shiftKey && lower === typed && us ? us : lower.codePointAt(0);
      if (event.shiftKey && typed.codePointAt(0) !== number) shifted = typed.codePointAt(0);
    } else if (us) {
      number = us;  // a dead key, or a key the layout gives no character
    } else {
      return null;
    }
    return { number, shifted, base: us && us !== number ? us : 0 };
  }

  // The bytes for a keydown or keyup under the protocol's flags, or null for a key the
  // protocol does not tell (and for releases, unless event types are asked for).
  function sequenceFor(event, flags) {
    const type = eventType(event);
    if (type === RELEASE && (flags & FLAG_EVENT_TYPES) === 0) return null;
    const field = modifierField(modifierBits(event), type, flags);
    if (event.code in LETTER_KEYS) return '\x1b[' + (field ? '1' + field : '') + LETTER_KEYS[event.code];
    if (event.code in TILDE_KEYS) return '\x1b[' + TILDE_KEYS[event.code] + field + '~';
    const key = keyNumbers(event);
    if (!key) return null;
    let numbers = String(key.number);
    if ((flags & FLAG_ALTERNATES) !== 0 && (key.shifted || key.base)) {
      numbers += ':' + (key.shifted || '') + (key.base ? ':' + key.base : '');
    }
    return '\x1b[' + numbers + field + 'u';
  }

  // Keys the browser keeps: reloading, closing and opening tabs and windows, full screen
  // and the developer tools. The page neither sends nor stops them.
  function browserKeeps(event) {
    if (event.code === 'F5' || event.code === 'F11' || event.code === 'F12') return true;
    const command = event.ctrlKey || event.metaKey;
    if (command && ['KeyW', 'KeyT', 'KeyN', 'KeyQ', 'Tab', 'PageUp', 'PageDown'].includes(event.code)) return true;
    return command && event.shiftKey && ['KeyI', 'KeyJ', 'KeyC'].includes(event.code);
  }

  exports.FLAG_ALL_KEYS = FLAG_ALL_KEYS;
  exports.sequenceFor = sequenceFor;
  exports.browserKeeps = browserKeeps;
})(typeof module !== 'undefined' ? module.exports : (window.veldraKeys = {}));
