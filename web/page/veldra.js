// The page: the game's terminal drawn by xterm.js over the whole window, on a WebSocket to
// veldra-web. At / it plays a game of its own; at /watch/ID it shows that game as it is
// played and sends nothing. What xterm.js does not do itself, the page adds: the keyboard
// protocol the game asks for (exact presses and releases from the browser's key events)
// and the game's sound, played here.
(function () {
  'use strict';

  const SOUND_MODE = 7707;      // the game asks whether the terminal plays sound (mode query)
  const MOST_PUSHED_FLAGS = 32;  // the keyboard protocol's stack of flags, as kitty bounds it

  const watched = (location.pathname.match(/^\/watch\/(\d+)$/) || [])[1];
  const watching = watched !== undefined;
  const term = new Terminal({
    fontFamily: 'DejaVu Sans Mono, Menlo, Consolas, monospace',
    fontSize: 16,
    scrollback: 0,
    cursorBlink: false,
    disableStdin: watching,
    theme: { background: '#000000' },
  });
  const fit = new FitAddon.FitAddon();
  term.loadAddon(fit);
  term.open(document.getElementById('terminal'));
  fit.fit();
  window.veldraTerm = term;  // for the tests, which read what is shown
  // A watcher joins after the game hid the cursor: it is hidden here too.
  if (watching) term.write('\x1b[?25l');
  const status = document.getElementById('status');
  const notice = document.getElementById('notice');

  const scheme = location.protocol === 'https:' ? 'wss:' : 'ws:';
  const address = watching
    ? `${scheme}//${location.host}/watch/${watched}`
    : `${scheme}//${location.host}/play?columns=${term.cols}&rows=${term.rows}`;
  const socket = new WebSocket(address);
  socket.binaryType = 'arraybuffer';
  const encoder = new TextEncoder();
  let opened = false;

  function send(text) {
    if (!watching && socket.readyState === WebSocket.OPEN) socket.send(encoder.encode(text));
  }

  function control(message) {
    const [word, first, second] = message.split(' ');
    if (word === 'watchers') status.textContent = Number(first) > 0 ? `${first} watching` : '';
    if (word === 'size' && watching) {
      term.resize(Number(first), Number(second));
      requestAnimationFrame(fitWatchedPicture);
    }
  }

  // A watcher's window may be smaller than the player's: the picture is scaled down to fit.
  function fitWatchedPicture() {
    const screen = term.element.querySelector('.xterm-screen') || term.element;
    const scale = Math.min(1, window.innerWidth / screen.offsetWidth, window.innerHeight / screen.offsetHeight);
    term.element.style.transformOrigin = 'top left';
    term.element.style.transform = `scale(${scale})`;
  }

  socket.onopen = () => {
    opened = true;
    term.focus();
  };
  socket.onmessage = (message) => {
    if (typeof message.data === 'string') control(message.data);
    else term.write(new Uint8Array(message.data));
  };
  socket.onclose = (event) => {
    window.veldraClosed = event.reason || 'closed';
    if (!opened) {
      notice.textContent = watching
        ? 'That game is not being played any more.'
        : 'No game could be started here now: every game the server holds may be taken. Reload to try again.';
    } else if (watching) {
      notice.textContent = 'The game you watched is over.';
    } else {
      notice.textContent = event.reason && event.reason !== 'the game is over'
        ? `The game has ended (${event.reason}). Reload to play again.`
        : 'The game is over. Reload to play again.';
    }
  };

  term.onData((data) => send(data));
  term.onResize(({ cols, rows }) => {
    if (!watching && socket.readyState === WebSocket.OPEN) socket.send(`resize ${cols} ${rows}`);
  });
  window.addEventListener('resize', () => {
    if (watching) fitWatchedPicture();
    else fit.fit();
  });

  // ---- the keyboard protocol: the flags the game pushed, and the keys in it ----

  const number = (parameter) => (Array.isArray(parameter) ? parameter[0] : parameter) || 0;
  let keyFlags = 0;
  const pushedFlags = [];
  term.parser.registerCsiHandler({ prefix: '>', final: 'u' }, (parameters) => {
    pushedFlags.push(keyFlags);
    if (pushedFlags.length > MOST_PUSHED_FLAGS) pushedFlags.shift();
    keyFlags = number(parameters[0]);
    return true;
  });
  term.parser.registerCsiHandler({ prefix: '<', final: 'u' }, (parameters) => {
    for (let count = Math.max(1, number(parameters[0])); count > 0; --count) keyFlags = pushedFlags.pop() || 0;
    return true;
  });
  term.parser.registerCsiHandler({ prefix: '=', final: 'u' }, (parameters) => {
    const flags = number(parameters[0]);
    const how = number(parameters[1]) || 1;
    if (how === 1) keyFlags = flags;
    else if (how === 2) keyFlags |= flags;
    else if (how === 3) keyFlags &= ~flags;
    return true;
  });
  term.parser.registerCsiHandler({ prefix: '?', final: 'u' }, () => {
    send(`\x1b[?${keyFlags}u`);
    return true;
  });

  term.attachCustomKeyEventHandler((event) => {
    if (watching) return false;
    // Until the game asks for the protocol, xterm.js types as any terminal does.
    if ((keyFlags & veldraKeys.FLAG_ALL_KEYS) === 0) return true;
    if (veldraKeys.browserKeeps(event)) return false;
    if (event.isComposing) return false;
    if (event.type === 'keydown' || event.type === 'keyup') {
      const sequence = veldraKeys.sequenceFor(event, keyFlags);
      if (sequence) send(sequence);
    }
    event.preventDefault();
    return false;
  });

  // The page keeps the keyboard: a click anywhere, or coming back to the window, gives
  // the terminal the focus again.
  document.addEventListener('mouseup', () => term.focus());
  window.addEventListener('focus', () => term.focus());

  // ---- sound ----

  const AudioContextType = window.AudioContext || window.webkitAudioContext;
  let audio = null;
  window.veldraSoundsHeard = 0;  // for the tests: tones started

  function audioContext() {
    if (!audio && AudioContextType) audio = new AudioContextType();
    return audio;
  }
  // Browsers start sound only after the visitor has done something on the page.
  const wake = () => {
    const context = audioContext();
    if (context && context.state !== 'running') context.resume();
  };
  document.addEventListener('keydown', wake, true);
  document.addEventListener('mousedown', wake, true);

  term.parser.registerCsiHandler({ prefix: '?', intermediates: '$', final: 'p' }, (parameters) => {
    if (number(parameters[0]) !== SOUND_MODE) return false;  // xterm.js answers the others
    send(`\x1b[?${SOUND_MODE};${AudioContextType ? 1 : 2}$y`);
    return true;
  });
  term.parser.registerOscHandler(SOUND_MODE, (data) => {
    const request = veldraSound.parseRequest(data);
    const context = audioContext();
    if (!request || !context || context.state !== 'running') return true;
    const samples = veldraSound.toneSamples(request.startHz, request.endHz, request.seconds, request.volume, context.sampleRate);
    const buffer = context.createBuffer(1, samples.length, context.sampleRate);
    buffer.copyToChannel(Float32Array.from(samples), 0);
    const source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(context.destination);
    source.start();
    window.veldraSoundsHeard += 1;
    return true;
  });
})();
