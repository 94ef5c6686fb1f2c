// The game played in headless Chromium through veldra-web: the title in the game's colours,
// a held Right Arrow that turns for as long as it is held, a lone Left Ctrl that swings the
// staff, the game's sounds reaching the page, and a watcher who sees the same picture.
// Usage: node e2e_browser.js PORT RECORDINGS_FOLDER RECORDING_KEYS_TOOL WORK_FOLDER
const puppeteer = require('puppeteer-core');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');

const [port, recordings, keysTool, work] = process.argv.slice(2);
const site = `http://127.0.0.1:${port}`;
const VK_ENTER = 13;
const VK_RIGHT = 39;
const VK_LEFT_CONTROL = 162;
let failures = 0;
const fail = (what) => {
  console.log(`FAIL: ${what}`);
  failures += 1;
};
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

const screenText = (page) => page.evaluate(() => {
  const buffer = veldraTerm.buffer.active;
  const rows = [];
  for (let y = 0; y < veldraTerm.rows; ++y) rows.push(buffer.getLine(y).translateToString(true));
  return rows.join('\n');
});

async function waitFor(what, test, seconds = 10) {
  for (let tries = 0; tries < seconds * 10; ++tries) {
    if (await test()) return true;
    await sleep(100);
  }
  fail(`waited ${seconds} s for ${what}`);
  return false;
}

// How many of the screenshot's pixels have each of these colours exactly.
async function pixelsOfColours(page, colours) {
  const png = await page.screenshot({ encoding: 'base64', path: path.join(work, 'title.png') });
  return page.evaluate(async (data, wanted) => {
    const image = new Image();
    image.src = `data:image/png;base64,${data}`;
    await image.decode();
    const canvas = document.createElement('canvas');
    canvas.width = image.width;
    canvas.height = image.height;
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    const pixels = context.getImageData(0, 0, canvas.width, canvas.height).data;
    const counts = wanted.map(() => 0);
    for (let i = 0; i < pixels.length; i += 4) {
      const rgb = (pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2];
      const which = wanted.indexOf(rgb);
      if (which >= 0) counts[which] += 1;
    }
    return counts;
  }, png, colours);
}

// The frames of a recording, each the list of keys held in it.
function recordedKeys(file) {
  return execFileSync(keysTool, [file], { encoding: 'utf8' }).trim().split('\n')
    .map((line) => line.split(':')[1].trim().split(/\s+/).filter((word) => /^\d+$/.test(word)).map(Number));
}

// The stretches of frames in which `key` was held: [first, length] each.
function heldRuns(frames, key) {
  const runs = [];
  frames.forEach((keys, frame) => {
    if (!keys.includes(key)) return;
    const last = runs[runs.length - 1];
    if (last && last[0] + last[1] === frame) last[1] += 1;
    else runs.push([frame, 1]);
  });
  return runs;
}

async function main() {
  const browser = await puppeteer.launch({
    executablePath: process.env.VELDRA_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: path.join(work, 'profile'),
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking', '--disable-sync',
      '--disable-component-update', '--autoplay-policy=no-user-gesture-required'],
  });
  try {
    const player = await browser.newPage();
    player.on('pageerror', (error) => fail(`the page's script: ${error.message}`));
    await player.setViewport({ width: 1000, height: 720 });
    await player.goto(`${site}/`);
    await waitFor('the title page', async () => (await screenText(player)).includes('PRESS ENTER TO START VELDRA'));
    const [cyan, red, grey] = await pixelsOfColours(player, [0x00FFFF, 0xFF0000, 0xC0C0C0]);
    if (cyan < 500 || red < 100 || grey < 100) fail(`the title is not in the game's colours: ${cyan} cyan, ${red} red, ${grey} grey pixels`);

    await player.keyboard.press('Enter');
    await waitFor('the first level', async () => (await screenText(player)).includes('Testing Ground'));
    await sleep(500);
    const before = await screenText(player);
    await player.keyboard.down('ArrowRight');
    await sleep(1500);
    await player.keyboard.up('ArrowRight');
    await sleep(500);
    if ((await screenText(player)) === before) fail('a held Right Arrow did not turn the view');

    const staffBefore = await screenText(player);
    await player.keyboard.down('ControlLeft');
    await sleep(150);
    const staffSwung = await screenText(player);
    await sleep(250);
    await player.keyboard.up('ControlLeft');
    if (staffSwung === staffBefore) fail('a lone Left Ctrl did not swing the staff');
    await waitFor('a sound reaching the page', () => player.evaluate(() => window.veldraSoundsHeard > 0));

    // A watcher, from the list of games.
    const watcher = await browser.newPage();
    await watcher.setViewport({ width: 1000, height: 720 });
    await watcher.goto(`${site}/watch`);
    const link = await watcher.evaluate(() => document.querySelector('a[href^="/watch/"]')?.getAttribute('href'));
    if (!link) throw new Error('the list of games names no game');
    const gameId = link.split('/').pop();
    await watcher.goto(`${site}${link}`);
    await waitFor('the watcher to see what the player sees',
      async () => (await screenText(watcher)) === (await screenText(player)));
    await waitFor('the player to be told of the watcher',
      () => player.evaluate(() => document.getElementById('status').textContent === '1 watching'));
    await watcher.keyboard.press('Escape');  // goes nowhere: the game plays on
    await sleep(300);
    if (!(await screenText(player)).includes('Testing Ground')) fail('a watcher\'s key reached the game');

    // The player goes mid-game: the game ends, the watcher is told, the recording is whole.
    await player.close();
    await waitFor('the watcher to hear the game is over', () => watcher.evaluate(() => window.veldraClosed === 'the game is over'));
    const file = fs.readdirSync(recordings).find((name) => name.endsWith(`-${gameId}.vdm`));
    if (!file) throw new Error(`no recording of game ${gameId} in ${recordings}`);
    const frames = recordedKeys(path.join(recordings, file));
    if (heldRuns(frames, VK_ENTER).length !== 1) fail('Enter was not pressed once');
    const turns = heldRuns(frames, VK_RIGHT);
    // Held 1.5 s: at 60 frames a second 90 frames, in one stretch (no stall, no early stop);
    // a busy machine's frames come slower.
    if (turns.length !== 1 || turns[0][1] < 45 || turns[0][1] > 110) fail(`Right Arrow held in ${JSON.stringify(turns)} (frame, count)`);
    const swings = heldRuns(frames, VK_LEFT_CONTROL);
    if (swings.length !== 1 || swings[0][1] < 10 || swings[0][1] > 40) fail(`Left Ctrl held in ${JSON.stringify(swings)}`);
    if (frames.some((keys) => keys.includes(27))) fail('the watcher\'s Esc was recorded');
  } finally {
    await browser.close();
  }
}

main().then(() => process.exit(failures > 0 ? 1 : 0), (error) => {
  console.log(`FAIL: ${error.stack || error}`);
  process.exit(1);
});
