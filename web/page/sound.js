// The game's tones, played as its own mixer plays them: a square wave with a sine a fifth
// above (0.7 and 0.3 of the voice), whose frequency glides in equal steps a sample from
// the start to the end frequency, the phase being the current frequency times the time
// elapsed. Each request is one buffer; Web Audio sums the voices and clips the sum.
(function (exports) {
  'use strict';

  const SQUARE_WEIGHT = 0.7;
  const FIFTH_WEIGHT = 0.3;
  const FIFTH_RATIO = 1.5;

  function fraction(x) {
    return x - Math.floor(x);
  }

  // The samples of one tone at `rate`: round(seconds * rate) of them, at least one.
  function toneSamples(startHz, endHz, seconds, volume, rate) {
    const glideSamples = seconds * rate;
    const step = glideSamples > 0 ? Math.abs(endHz - startHz) / glideSamples : 0;
    const samples = [];
    let frequency = startHz;
    let elapsed = 0;
    do {
      if (endHz > frequency) frequency = Math.min(frequency + step, endHz);
      else if (endHz < frequency) frequency = Math.max(frequency - step, endHz);
      const cycles = frequency * elapsed;
      const phase = fraction(cycles);
      const square = phase > 0 && phase < 0.5 ? 1 : -1;
      samples.push(volume * (SQUARE_WEIGHT * square + FIFTH_WEIGHT * Math.sin(2 * Math.PI * fraction(FIFTH_RATIO * cycles))));
      elapsed = (Math.round(elapsed * rate) + 1) / rate;
    } while (elapsed < seconds);
    return samples;
  }

  // "start;end;milliseconds;volume", as the game sends it; null when it is not that.
  function parseRequest(text) {
    const fields = text.split(';').map(Number);
    if (fields.length !== 4 || fields.some((f) => !Number.isFinite(f) || f < 0)) return null;
    const [startHz, endHz, milliseconds, volume] = fields;
    if (startHz > 100000 || endHz > 100000 || milliseconds > 600000 || volume > 1) return null;
    return { startHz, endHz, seconds: milliseconds / 1000, volume };
  }

  exports.toneSamples = toneSamples;
  exports.parseRequest = parseRequest;
})(typeof module !== 'undefined' ? module.exports : (window.veldraSound = {}));
