// Opens a page of a private album in place of the stub that loads this script. The stub names the
// page's blob; the album's key, unwrapped by the reader's password or kept from before, decrypts
// it and every file it shows, and the page then takes the stub's place as if it had been served
// whole: its own scripts, keys and gestures run as in a public album.
(function () {
  "use strict";
  const meta = document.querySelector('meta[name="vistello-page"]');
  const pageId = meta ? meta.content : "";
  if (!/^[0-9a-f]{32}$/.test(pageId)) return;
  // A neighbour shown in the phone look's hidden frame posts its picture to the page beside, which
  // may not load this frame's blob: addresses from a folder; data: addresses it may.
  const peeking = window.name === "vistello-peek";
  const encoder = new TextEncoder();
  const GIF = "data:image/gif;base64,R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7";
  const TYPES = {
    jpg: "image/jpeg", jpeg: "image/jpeg", png: "image/png", gif: "image/gif", webp: "image/webp",
    avif: "image/avif", svg: "image/svg+xml", ico: "image/x-icon", mp4: "video/mp4",
    m4v: "video/mp4", mov: "video/quicktime", webm: "video/webm", ogv: "video/ogg",
    mp3: "audio/mpeg", m4a: "audio/mp4", ogg: "audio/ogg", wav: "audio/wav", vtt: "text/vtt",
    css: "text/css", js: "text/javascript", json: "application/json", pdf: "application/pdf",
    txt: "text/plain", woff2: "font/woff2", woff: "font/woff"
  };

  // Blobs arrive as scripts, which load from a folder where fetch cannot: a few at a time, so the
  // first asked for is the first shown.
  const waiting = new Map();
  const queue = [];
  let loading = 0;
  let keyArrived = null;
  window.vistello = {
    put(id, text) {
      const arrived = waiting.get(id);
      waiting.delete(id);
      if (arrived) arrived(text);
    },
    key(fields) {
      if (keyArrived) keyArrived(fields);
    }
  };
  function load(name) {
    return new Promise(function (resolve, reject) {
      queue.push(function () {
        const script = document.createElement("script");
        script.src = name;
        script.onload = script.onerror = function (event) {
          script.remove();
          loading -= 1;
          next();
          if (event.type === "load") resolve();
          else reject(new Error("missing: " + name));
        };
        loading += 1;
        (document.head || document.documentElement).appendChild(script);
      });
      next();
    });
  }
  function next() {
    while (loading < 6 && queue.length) queue.shift()();
  }
  // A loaded script that did not deliver what it was asked for rejects; one that did has already
  // resolved.
  function sealed(id) {
    return new Promise(function (resolve, reject) {
      waiting.set(id, resolve);
      const missing = function () {
        waiting.delete(id);
        reject(new Error("missing: " + id));
      };
      load(id + ".js").then(missing, missing);
    });
  }
  function keyFile() {
    return new Promise(function (resolve, reject) {
      keyArrived = resolve;
      load("vistello-key.js").then(reject, reject);
    }).then(checked);
  }
  // Rounds as the program takes them: fewer make the password cheap to guess, and a file asking
  // for many more would hold the reader for minutes where the bundled crypto does the work.
  const LEAST_ROUNDS = 600000, MOST_ROUNDS = 10000000;
  function checked(fields) {
    const salt = fromBase64(fields.salt), nonce = fromBase64(fields.nonce);
    const wrapped = fromBase64(fields.key), n = fields.iterations;
    if (fields.v !== 1 || fields.kdf !== "pbkdf2-sha256" || !Number.isInteger(n) ||
        n < LEAST_ROUNDS || n > MOST_ROUNDS || salt.length !== 16 || nonce.length !== 12 ||
        wrapped.length !== 48) {
      throw new Error("not a key file");
    }
    return { name: "vistello:" + fields.salt, iterations: n, salt, nonce, wrapped };
  }

  function fromBase64(text) {
    if (Uint8Array.fromBase64) return Uint8Array.fromBase64(text);
    const binary = atob(text), bytes = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; i++) bytes[i] = binary.charCodeAt(i);
    return bytes;
  }
  function toBase64(bytes) {
    if (bytes.toBase64) return bytes.toBase64();
    let binary = "";
    for (let i = 0; i < bytes.length; i += 0x8000) {
      binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return btoa(binary);
  }
  // Paths are compared as the bytes the file system has: one character per byte.
  function binary(bytes) {
    let text = "";
    for (let i = 0; i < bytes.length; i++) text += String.fromCharCode(bytes[i]);
    return text;
  }
  function bytesOf(text) {
    return Uint8Array.from(text, function (c) { return c.charCodeAt(0); });
  }

  // WebCrypto where the page is a secure context, else the bundled audited library.
  const subtle = window.crypto && window.crypto.subtle;
  let library = null;
  function noble() {
    library = library || load("vistello-crypto.js").then(function () {
      if (!window.vistelloNoble) throw new Error("no crypto");
      return window.vistelloNoble;
    });
    return library;
  }
  async function derive(password, fields) {
    const secret = encoder.encode(password);
    if (subtle) {
      const base = await subtle.importKey("raw", secret, "PBKDF2", false, ["deriveBits"]);
      const bits = await subtle.deriveBits({ name: "PBKDF2", hash: "SHA-256", salt: fields.salt,
                                             iterations: fields.iterations }, base, 256);
      return new Uint8Array(bits);
    }
    // Long turns: the reader waits for nothing else, and each turn back costs a timer.
    const n = await noble();
    return n.pbkdf2Async(n.sha256, secret, fields.salt,
                         { c: fields.iterations, dkLen: 32, asyncTick: 100 });
  }
  // A key's two uses: opening AES-256-GCM and naming by HMAC-SHA256.
  function keyOf(raw) {
    if (subtle) {
      const aes = subtle.importKey("raw", raw, "AES-GCM", false, ["decrypt"]);
      const mac = subtle.importKey("raw", raw, { name: "HMAC", hash: "SHA-256" }, false, ["sign"]);
      return {
        open: async function (nonce, aad, data) {
          const plain = await subtle.decrypt({ name: "AES-GCM", iv: nonce, additionalData: aad },
                                             await aes, data);
          return new Uint8Array(plain);
        },
        sign: async function (data) {
          return new Uint8Array(await subtle.sign("HMAC", await mac, data));
        }
      };
    }
    return {
      open: async function (nonce, aad, data) {
        return (await noble()).gcm(raw, nonce, aad).decrypt(data);
      },
      sign: async function (data) {
        const n = await noble();
        return n.hmac(n.sha256, raw, data);
      }
    };
  }
  async function unwrap(password, fields) {
    const kek = keyOf(await derive(password, fields));
    return kek.open(fields.nonce, encoder.encode("vistello-key"), fields.wrapped);
  }

  // The album opened with its key: names of paths, and blobs opened.
  let key = null;
  const names = new Map();
  function nameOf(path) {
    if (!names.has(path)) {
      const message = new Uint8Array(14 + path.length);
      message.set(encoder.encode("vistello-name\0"));
      message.set(bytesOf(path), 14);
      names.set(path, key.sign(message).then(function (mac) {
        return Array.from(mac.subarray(0, 16), function (b) {
          return (b + 256).toString(16).slice(1);
        }).join("");
      }));
    }
    return names.get(path);
  }
  async function openBlob(id, text) {
    const all = fromBase64(await (text || sealed(id)));
    if (all.length < 28) throw new Error("short blob");
    const aad = encoder.encode("vistello-blob\0" + id);
    const plain = await key.open(all.subarray(0, 12), aad, all.subarray(12));
    const view = new DataView(plain.buffer, plain.byteOffset, plain.byteLength);
    const pathEnd = 4 + view.getUint32(0);
    if (pathEnd + 8 > plain.length) throw new Error("bad blob");
    const start = pathEnd + 8, size = view.getUint32(pathEnd + 4);
    if (view.getUint32(pathEnd) || start + size > plain.length) throw new Error("bad blob");
    return { path: binary(plain.subarray(4, pathEnd)), data: plain.subarray(start, start + size) };
  }
  async function openPage(id, text) {
    const blob = await openBlob(id, text);
    if (await nameOf(blob.path) !== id) throw new Error("not the page asked for");
    return { path: blob.path, html: new TextDecoder().decode(blob.data) };
  }
  const files = new Map();
  function file(path) {
    if (!files.has(path)) {
      files.set(path, nameOf(path).then(openBlob).then(function (blob) {
        if (blob.path !== path) throw new Error("not the file asked for");
        const extension = (/\.([^./]+)$/.exec(path) || ["", ""])[1].toLowerCase();
        const type = TYPES[extension] || "application/octet-stream";
        if (peeking) return "data:" + type + ";base64," + toBase64(blob.data);
        return URL.createObjectURL(new Blob([blob.data], { type: type }));
      }));
    }
    return files.get(path);
  }

  // Where a reference written in the page at `from` leads: nowhere of ours (null) for an address
  // of its own, a fragment or a path from the server's root; else a path in the album, or a path
  // above the album's root, which the flat folder stands in place of.
  function resolve(from, reference) {
    const ref = (reference || "").trim();
    if (!ref || /^([a-z][a-z0-9+.-]*:|[/\\#?])/i.test(ref)) return null;
    const cut = ref.search(/[?#]/);
    const rest = cut < 0 ? "" : ref.slice(cut);
    const steps = from.split("/").slice(0, -1).map(function (s) { return { text: s, path: s }; });
    let up = 0;
    for (const text of (cut < 0 ? ref : ref.slice(0, cut)).split("/")) {
      if (text === "..") {
        if (steps.length) steps.pop();
        else up += 1;
      } else if (text !== ".") {
        steps.push({ text: text, path: named(text) });
      }
    }
    const last = steps.length ? steps[steps.length - 1].path : "";
    const texts = steps.map(function (s) { return s.text; });
    if (up) return { outside: "../".repeat(up) + texts.join("/") + rest };
    if (!last) return null;
    return { path: steps.map(function (s) { return s.path; }).join("/"), rest: rest };
  }
  // A step of an address as the bytes it names: its escapes undone, its other characters UTF-8.
  function named(text) {
    return text.replace(/[^\0-\x7f]+/g, encodeURIComponent).replace(/%([0-9a-f]{2})/gi, function (_, hex) {
      return String.fromCharCode(parseInt(hex, 16));
    });
  }
  function isPage(path) { return /\.html?$/i.test(path); }
  // The album's home page has the stub index.html too, which the album's tile above links to.
  async function pageAddress(to) {
    return (to.path === "index.htm" ? "index.html" : (await nameOf(to.path)) + ".html") + to.rest;
  }

  function candidates(srcset) {
    const list = [], at = /[\s,]*(\S+)/g;
    let found;
    while ((found = at.exec(srcset))) {
      let url = found[1], descriptor = "";
      if (/,$/.test(url)) {
        url = url.replace(/,+$/, "");
      } else {
        const end = srcset.indexOf(",", at.lastIndex);
        descriptor = srcset.slice(at.lastIndex, end < 0 ? srcset.length : end).trim();
        at.lastIndex = end < 0 ? srcset.length : end + 1;
      }
      list.push({ url: url, descriptor: descriptor });
    }
    return list;
  }
  function srcsetOf(list) {
    return list.map(function (c) { return c.descriptor ? c.url + " " + c.descriptor : c.url; }).join(", ");
  }
  function width(candidate) { return parseFloat(candidate.descriptor) || 1; }

  // Which copy the browser shows of a picture: asked of the browser itself, with every copy a
  // distinct tiny picture that loads at once.
  let probes = 0;
  function choose(parts) {
    const chosen = new Map();
    const probe = parts.map(function (part, index) {
      const element = document.createElement(part.tag);
      ["type", "media", "sizes"].forEach(function (name) {
        if (part[name] != null) element.setAttribute(name, part[name]);
      });
      const fake = function (candidate) {
        probes += 1;
        const url = GIF.replace(";base64", ";p=" + probes + ";base64");
        chosen.set(url, { part: index, candidate: candidate });
        return { url: url, descriptor: candidate.descriptor };
      };
      if (part.srcset) element.setAttribute("srcset", srcsetOf(part.srcset.map(fake)));
      if (part.src) element.setAttribute("src", fake(part.src).url);
      return element;
    });
    const img = probe[probe.length - 1];
    if (probe.length > 1) {
      const box = document.createElement("picture");
      probe.forEach(function (element) { box.appendChild(element); });
    }
    // The browser chooses as soon as the script yields; should it not have, it has once the
    // tiny picture loaded. A choice it did not make falls on the first copy.
    const made = function () { return chosen.get(img.currentSrc) || chosen.values().next().value; };
    return Promise.resolve().then(function () {
      return chosen.get(img.currentSrc) || new Promise(function (resolve) {
        img.onload = img.onerror = function () { resolve(made()); };
      });
    });
  }

  // Rewrites the parsed page found at `from` to stand in the flat folder: pages lead to their
  // stubs, files become their decrypted bytes. Eager pictures are decrypted now; what waits
  // for the page to stand (lazy pictures, clips, wider copies) is returned as jobs, each on an
  // element marked data-vistello.
  async function rewrite(doc, from, mode) {
    const now = [], jobs = [];
    const mark = function (element, job) {
      element.setAttribute("data-vistello", String(jobs.length));
      jobs.push(job);
    };
    const whereTo = function (reference) {
      const to = resolve(from, reference);
      if (to && !to.outside && isPage(to.path)) return { page: to };
      return to;
    };
    function relink(element, name, how) {
      const to = whereTo(element.getAttribute(name));
      if (!to) return;
      if (to.outside) return element.setAttribute(name, to.outside);
      if (how === "ahead") {
        element.setAttribute("rel", "prefetch");
        element.removeAttribute("as");
        return now.push(nameOf((to.page || to).path).then(function (id) {
          element.setAttribute(name, id + ".js");
        }));
      }
      if (to.page) {
        return now.push(pageAddress(to.page).then(function (a) { element.setAttribute(name, a); }));
      }
      element.removeAttribute(name);
      const fill = function (target) {
        return file(to.path).then(function (url) { target.setAttribute(name, url); }, function () {});
      };
      if (how === "now") now.push(fill(element));
      else if (mode === "page") mark(element, { run: fill });
    }
    const ahead = /\b(prefetch|preload|prerender|modulepreload)\b/i;
    const found = doc.querySelectorAll("img, video, audio, [src], [poster], a[href], area[href], link[href]");
    for (const element of found) {
      const tag = element.localName;
      if (tag === "img") picture(element);
      else if (tag === "video" || tag === "audio") media(element);
      else if (tag === "source" || tag === "track") continue;
      else if (tag === "link") relink(element, "href", ahead.test(element.rel) ? "ahead" : "now");
      else if (tag === "a" || tag === "area") relink(element, "href", "later");
      else if (element.hasAttribute("src")) relink(element, "src", "now");
    }

    // A picture: its sources and its img, each copy a path in the album or an address kept.
    function picture(img) {
      const box = img.parentNode && img.parentNode.localName === "picture" ? img.parentNode : null;
      const elements = box ? Array.from(box.children).filter(function (e) {
        return e.localName === "source" && e.compareDocumentPosition(img) & Node.DOCUMENT_POSITION_FOLLOWING;
      }) : [];
      elements.push(img);
      let inside = false;
      const copy = function (url, descriptor) {
        const to = whereTo(url);
        if (to && !to.outside && !to.page) inside = true;
        const path = to && !to.outside && !to.page ? to.path : null;
        return { url: to && to.outside ? to.outside : url, descriptor: descriptor, path: path };
      };
      const parts = elements.map(function (e) {
        const srcset = e.hasAttribute("srcset") ? candidates(e.getAttribute("srcset")) : null;
        return {
          tag: e.localName, type: e.getAttribute("type"), media: e.getAttribute("media"),
          sizes: e.getAttribute("sizes"),
          srcset: srcset && srcset.map(function (c) { return copy(c.url, c.descriptor); }),
          src: e === img && e.hasAttribute("src") ? copy(e.getAttribute("src"), "") : null
        };
      });
      if (!inside) {
        parts.forEach(function (part, i) {
          if (part.srcset) elements[i].setAttribute("srcset", srcsetOf(part.srcset));
          if (part.src) elements[i].setAttribute("src", part.src.url);
        });
        return;
      }
      if (img.getAttribute("loading") === "lazy") {
        elements.forEach(function (e) { e.removeAttribute("srcset"); });
        img.setAttribute("src", GIF);
        if (mode === "page") mark(img, { lazy: true, run: function (live) { return show(parts, live); } });
        return;
      }
      now.push(show(parts, img, mode === "page").then(function (choice) {
        const wider = (parts[choice.part].srcset || []).filter(function (c) {
          return c.path && width(c) > width(choice.candidate);
        });
        if (mode !== "page" || !wider.length) return;
        mark(img, { idle: true, run: function (live) { return widen(live, choice, wider); } });
      }));
    }
    // Clips wait: the page shows before a clip's bytes are ready, and its sources join it then.
    function media(element) {
      relink(element, "poster", "now");
      const sources = Array.from(element.querySelectorAll("source")).filter(function (s) {
        const to = whereTo(s.getAttribute("src"));
        if (to && to.outside) s.setAttribute("src", to.outside);
        return to && !to.outside && !to.page;
      });
      sources.forEach(function (s) { s.remove(); });
      relink(element, "src", "later");
      Array.from(element.querySelectorAll("track[src]")).forEach(function (t) { relink(t, "src", "later"); });
      if (!sources.length || mode !== "page") return;
      mark(element, { run: function (live) {
        return Promise.all(sources.map(function (s) {
          return file(whereTo(s.getAttribute("src")).path).then(function (url) {
            s.setAttribute("src", url);
            return s;
          }, function () { return null; });
        })).then(function (ready) {
          ready.forEach(function (s) { if (s) live.appendChild(document.importNode(s, true)); });
        });
      } });
    }
    await Promise.all(now);
    return jobs;
  }

  // Shows the copy the browser chooses, decrypted, in the picture whose img is `img`. A picture
  // the page will show at once is decoded meanwhile, as a public page finds its picture decoded
  // by the page before.
  async function show(parts, img, warm) {
    const choice = await choose(parts);
    const candidate = choice.candidate;
    choice.url = candidate.path ? await file(candidate.path).catch(function () { return GIF; }) : candidate.url;
    if (warm) {
      const early = new Image();
      early.src = choice.url;
      early.decode().catch(function () {});
    }
    const box = img.parentNode && img.parentNode.localName === "picture" ? img.parentNode : null;
    const sources = box ? Array.from(box.querySelectorAll("source")) : [];
    sources.forEach(function (s, i) { if (i !== choice.part) s.remove(); });
    const chosen = choice.part < sources.length ? sources[choice.part] : img;
    if (candidate.descriptor || chosen !== img) {
      chosen.setAttribute("srcset", srcsetOf([{ url: choice.url, descriptor: candidate.descriptor }]));
    }
    if (chosen !== img || !candidate.descriptor) img.removeAttribute("srcset");
    img.setAttribute("src", choice.url);
    return choice;
  }
  // Zoomed past the copy shown, the phone look asks for a wider one from the same srcset.
  async function widen(img, choice, wider) {
    const urls = await Promise.all(wider.map(function (c) { return file(c.path); }));
    const box = img.parentNode && img.parentNode.localName === "picture" ? img.parentNode : null;
    const chosen = (box && box.querySelector("source")) || img;
    const list = [{ url: choice.url, descriptor: choice.candidate.descriptor }];
    wider.forEach(function (c, i) { list.push({ url: urls[i], descriptor: c.descriptor }); });
    chosen.setAttribute("srcset", srcsetOf(list));
  }

  // Once the page stands: clips at once, lazy pictures as they near the screen, wider copies
  // once the reader stays on the page, when the browser is idle.
  function follow(jobs) {
    const idle = window.requestIdleCallback || function (f) { setTimeout(f, 500); };
    let near = null;
    document.querySelectorAll("[data-vistello]").forEach(function (element) {
      const job = jobs[Number(element.getAttribute("data-vistello"))];
      const run = function () {
        element.removeAttribute("data-vistello");
        job.run(element).catch(function () {});
      };
      if (job.lazy) {
        near = near || new IntersectionObserver(function (entries) {
          entries.forEach(function (entry) {
            if (!entry.isIntersecting) return;
            near.unobserve(entry.target);
            entry.target.vistelloRun();
          });
        }, { rootMargin: "50% 0px" });
        element.vistelloRun = run;
        near.observe(element);
      } else if (job.idle) {
        setTimeout(function () { idle(run); }, 3000);
      } else {
        run();
      }
    });
  }

  // The phone look reads its neighbours' pages with fetch: a neighbour's stub is answered with
  // its page, decrypted, its pictures ready.
  function answerFetches() {
    const native = window.fetch;
    if (!native) return;
    const folderOf = function (url) { return url.replace(/[#?].*$/, "").replace(/[^/]*$/, ""); };
    const folder = folderOf(location.href);
    window.fetch = function (input, init) {
      const url = typeof input === "string" ? input : String((input && input.url) || input);
      const method = ((init && init.method) || (input && input.method) || "GET").toUpperCase();
      let whole = null;
      try { whole = new URL(url, location.href).href; } catch (e) { /* the browser's own fetch says why */ }
      const stub = whole && folderOf(whole) === folder && /\/([0-9a-f]{32}|index)\.html([#?].*)?$/.exec(whole);
      if (!stub || method !== "GET") return native.apply(this, arguments);
      const id = stub[1] !== "index" ? Promise.resolve(stub[1]) : native(whole).then(function (a) {
        return a.text();
      }).then(function (text) {
        return (/name="vistello-page" content="([0-9a-f]{32})"/.exec(text) || [])[1];
      });
      return id.then(async function (found) {
        if (!found) throw new TypeError("not a page of this album");
        const page = await openPage(found);
        const doc = new DOMParser().parseFromString(page.html, "text/html");
        await rewrite(doc, page.path, "fetch");
        return new Response("<!DOCTYPE html>" + doc.documentElement.outerHTML,
                            { headers: { "Content-Type": "text/html; charset=utf-8" } });
      });
    };
  }

  async function openWith(raw, text) {
    key = keyOf(raw);
    const page = await openPage(pageId, text);
    const doc = new DOMParser().parseFromString(page.html, "text/html");
    const jobs = await rewrite(doc, page.path, peeking ? "peek" : "page");
    document.open();
    document.write("<!DOCTYPE html>" + doc.documentElement.outerHTML);
    document.close();
    if (peeking) return;
    answerFetches();
    follow(jobs);
  }

  // The form asks for the password; a key kept from before opens the page without it.
  const form = document.querySelector("form");
  const password = document.getElementById("password");
  const remember = document.getElementById("remember");
  const status = document.getElementById("status");
  function say(text) { if (status) status.textContent = text; }
  function store(kind) {
    try { return window[kind]; } catch (e) { return null; }
  }
  function kept(name) {
    const found = [store("sessionStorage"), store("localStorage")].map(function (s) {
      return s && s.getItem(name);
    });
    return found[0] || found[1];
  }
  function keep(name, raw, always) {
    const text = toBase64(raw);
    [store("sessionStorage"), always && store("localStorage")].forEach(function (s) {
      try { if (s) s.setItem(name, text); } catch (e) { /* kept for this page only */ }
    });
  }
  function forget(name) {
    [store("sessionStorage"), store("localStorage")].forEach(function (s) { if (s) s.removeItem(name); });
  }
  function ask() {
    if (!form || peeking) return;
    form.hidden = false;
    password.focus();
  }
  // Some key kept: the form waits until the album's own is looked for, so it does not flash.
  const anyKept = [store("sessionStorage"), store("localStorage")].some(function (s) {
    return s && Object.keys(s).some(function (k) { return k.indexOf("vistello:") === 0; });
  });
  if (form && (anyKept || peeking)) form.hidden = true;
  else if (password) password.focus();
  const text = sealed(pageId);
  text.catch(function () {});
  const fields = keyFile();
  fields.then(function (album) {
    const raw = kept(album.name);
    if (!raw) return ask();
    say("Opening…");
    return openWith(fromBase64(raw), text).catch(function () {
      if (peeking) return;
      forget(album.name);
      say("");
      ask();
    });
  }, function () {
    if (form) form.hidden = true;
    say("This album cannot be opened here.");
  });
  let busy = false;
  if (form) {
    form.addEventListener("submit", async function (event) {
      event.preventDefault();
      if (busy) return;
      busy = true;
      say("Opening…");
      try {
        const album = await fields;
        let raw = null;
        try {
          raw = await unwrap(password.value, album);
        } catch (e) {
          say("Wrong password");
          password.select();
          return;
        }
        keep(album.name, raw, remember.checked);
        await openWith(raw, text).catch(function () {
          say("This page of the album cannot be opened.");
        });
      } catch (e) {
        say("This album cannot be opened here.");
      } finally {
        busy = false;
      }
    });
  }
})();
