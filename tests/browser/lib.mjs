// What the browser checks share: the tally and check(), servers started on a
// free port of 127.0.0.1 and stopped at the end, picture sizes read from their
// bytes, and the checks of pictures, image maps and clicks on map areas.
import { spawn } from 'node:child_process';

const children = [];
export const tally = { passed: 0, failed: 0 };

export function stopAll() {
  for (const child of children) child.kill();
}

export async function check(name, body) {
  try {
    await body();
    tally.passed++;
    console.log(`ok - ${name}`);
  } catch (e) {
    tally.failed++;
    console.log(`FAIL - ${name}: ${e.message.split('\n')[0]}`);
  }
}

export function expect(condition, message) {
  if (!condition) throw new Error(message);
}

// Starts a server and resolves with the first group of pattern, matched in
// what it writes (standard output, else standard error), and a function giving
// all it wrote so far.
export function startServer(command, args, pattern, env = process.env) {
  return new Promise((resolve, reject) => {
    const child = spawn(command, args, { stdio: ['ignore', 'pipe', 'pipe'], env });
    children.push(child);
    let out = '';
    let err = '';
    const log = () => out + err;
    const look = () => {
      const match = out.match(pattern) || err.match(pattern);
      if (match) resolve({ address: match[1], log });
    };
    child.stdout.on('data', (d) => { out += d; look(); });
    child.stderr.on('data', (d) => { err += d; look(); });
    child.on('exit', (code) => reject(new Error(`${args.join(' ')} exited (${code}): ${err}`)));
  });
}

// Width and height from a PNG's IHDR, a GIF's screen descriptor or a JPEG's SOF.
export function imageSize(bytes) {
  if (bytes.subarray(1, 4).toString() === 'PNG') return [bytes.readUInt32BE(16), bytes.readUInt32BE(20)];
  if (bytes.subarray(0, 3).toString() === 'GIF') return [bytes.readUInt16LE(6), bytes.readUInt16LE(8)];
  for (let i = 2; i + 9 < bytes.length && bytes[i] === 0xff; i += 2 + bytes.readUInt16BE(i + 2)) {
    const marker = bytes[i + 1];
    if (marker >= 0xc0 && marker <= 0xcf && ![0xc4, 0xc8, 0xcc].includes(marker)) {
      return [bytes.readUInt16BE(i + 7), bytes.readUInt16BE(i + 5)];
    }
  }
  return null;
}

// A point inside the area's shape, as near its middle as a 1-pixel scan finds.
export function insidePoint(shape, coords) {
  if (shape === 'rect') return [(coords[0] + coords[2]) / 2, (coords[1] + coords[3]) / 2];
  if (shape === 'circle') return [coords[0], coords[1]];
  const xs = coords.filter((_, i) => i % 2 === 0);
  const ys = coords.filter((_, i) => i % 2 === 1);
  const inside = (x, y) => {
    let hit = false;
    for (let i = 0, j = xs.length - 1; i < xs.length; j = i++) {
      if ((ys[i] > y) !== (ys[j] > y) && x < ((xs[j] - xs[i]) * (y - ys[i])) / (ys[j] - ys[i]) + xs[i]) hit = !hit;
    }
    return hit;
  };
  const mx = xs.reduce((a, b) => a + b) / xs.length;
  const my = ys.reduce((a, b) => a + b) / ys.length;
  let best = null;
  for (let x = Math.min(...xs); x <= Math.max(...xs); x++) {
    for (let y = Math.min(...ys); y <= Math.max(...ys); y++) {
      const d = (x - mx) ** 2 + (y - my) ** 2;
      if (inside(x + 0.5, y + 0.5) && (best === null || d < best[2])) best = [x + 0.5, y + 0.5, d];
    }
  }
  if (best === null) throw new Error(`no inside point in ${coords}`);
  return best.slice(0, 2);
}

// Every picture shown has decoded at the size its tag states, and that of its bytes.
export async function checkImages(page, sizeOf) {
  const images = await page.$$eval('img', (all) => all.map((img) => ({
    src: img.getAttribute('src'), complete: img.complete, natural: [img.naturalWidth, img.naturalHeight],
    stated: [Number(img.getAttribute('width')), Number(img.getAttribute('height'))] })));
  expect(images.length > 0, 'no pictures');
  for (const img of images) {
    const size = await sizeOf(img.src);
    expect(img.complete && img.natural[0] > 0, `${img.src} did not decode`);
    expect(`${img.natural}` === `${img.stated}` && `${img.natural}` === `${size}`,
      `${img.src}: decoded ${img.natural}, stated ${img.stated}, file ${size}`);
  }
  return images.length;
}

// Maps are well formed: each used map exists once, and each area sits in a map
// with its alt, title and a link to the detail page.
export async function checkMaps(page, detailPrefix) {
  const problems = await page.evaluate((prefix) => {
    const out = [];
    const names = [...document.querySelectorAll('map')].map((m) => m.name);
    if (new Set(names).size !== names.length) out.push('map names repeat');
    for (const img of document.querySelectorAll('img[usemap]')) {
      if (!names.includes(img.useMap.slice(1))) out.push(`${img.src} uses a missing map`);
    }
    for (const area of document.querySelectorAll('area')) {
      const href = area.getAttribute('href') || '';
      if (area.parentElement.tagName !== 'MAP') out.push(`area outside a map: ${href}`);
      if (!area.alt || !area.title) out.push(`area without alt or title: ${href}`);
      if (!href.startsWith(prefix)) out.push(`area links elsewhere: ${href}`);
    }
    if (document.querySelectorAll('area').length === 0) out.push('no areas');
    return out;
  }, detailPrefix);
  expect(problems.length === 0, problems.slice(0, 3).join('; '));
}

// Hovers over the first area of the map used by imgSrc that pick() accepts,
// checks the browser hits that area (whose title the browser shows), clicks
// and checks the query of the page it lands on.
export async function clickArea(page, imgSrc, pick, expected) {
  const target = await page.evaluate(([src, pickText]) => {
    const img = [...document.images].find((i) => i.getAttribute('src') === src);
    const pickFn = new Function('area', `return ${pickText}`);
    const areas = [...document.querySelector(`map[name="${img.useMap.slice(1)}"]`).areas];
    const index = areas.findIndex((a) => pickFn(a));
    if (index < 0) return null;
    img.scrollIntoView({ block: 'center' });
    const box = img.getBoundingClientRect();
    const a = areas[index];
    return { index, shape: a.shape, coords: a.coords.split(',').map(Number), title: a.title,
      left: box.left, top: box.top, mapName: img.useMap.slice(1) };
  }, [imgSrc, pick]);
  expect(target !== null, `no area of ${imgSrc} matches ${pick}`);
  const [x, y] = insidePoint(target.shape, target.coords);
  const [px, py] = [target.left + x, target.top + y];
  await page.mouse.move(px, py);
  const hit = await page.evaluate(([hx, hy]) => {
    const el = document.elementFromPoint(hx, hy);
    return el && el.tagName === 'AREA' ? { map: el.parentElement.name, title: el.title,
      index: [...el.parentElement.areas].indexOf(el) } : { tag: el && el.tagName };
  }, [px, py]);
  expect(hit.map === target.mapName && hit.index === target.index,
    `hovering hits ${JSON.stringify(hit)}, not area ${target.index} (${target.title})`);
  const from = page.url();
  await Promise.all([page.waitForURL((u) => u.href !== from, { timeout: 10_000 }), page.mouse.click(px, py)]);
  const query = new URL(page.url()).searchParams;
  for (const [name, value] of Object.entries(expected)) {
    expect(query.get(name) === value, `landed on ${page.url()}: ${name} is ${query.get(name)}, not ${value}`);
  }
  return { query };
}
